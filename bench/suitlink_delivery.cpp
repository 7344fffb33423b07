// Datagram-to-frame-callback latency on loopback, and eight suits at once:
// every datagram either delivered or counted as dropped, the receive
// thread's CPU share. Binds port 8000: run under
// flock /tmp/varnel-udp8000.lock.
#include "counting_suit.h"
#include "latency_percentile.h"
#include "suitlink/receive_thread.h"
#include "varnel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
constexpr double FramesPerSecond = 120.0;
constexpr int MaxSuits = 8;

// What the frame callback sees; filled before the suits start sending.
struct DeliveryLog {
    VarnelHandle handles[MaxSuits] = {};
    CountingSuit* suits[MaxSuits] = {};
    int suitCount = 0;
    std::atomic<uint32_t> delivered[MaxSuits] = {};
    std::vector<int64_t> latencies; // nanoseconds, preallocated
    std::atomic<size_t> latencyCount{0};
};
DeliveryLog* activeLog = nullptr;

void MeasureFrame(const SkeletonFrame* pose, VarnelHandle suit)
{
    int64_t now = MonotonicNanoseconds();
    DeliveryLog& log = *activeLog;
    for (int i = 0; i < log.suitCount; i++) {
        if (log.handles[i] != suit)
            continue;
        log.delivered[i].fetch_add(1);
        int64_t sentAt = log.suits[i]->SendTime(uint32_t(pose->counter));
        size_t slot = log.latencyCount.load();
        if (sentAt >= 0 && slot < log.latencies.size()) {
            log.latencies[slot] = now - sentAt;
            log.latencyCount.store(slot + 1);
        }
        return;
    }
}

struct RunResult {
    double wallSeconds = 0.0;
    double receiveCpuSeconds = 0.0;
    uint32_t sent[MaxSuits] = {};
    uint32_t delivered[MaxSuits] = {};
    uint32_t dropped[MaxSuits] = {};
    std::vector<int64_t> latencies;
};

// Finds and opens suitCount suits, lets them send for the given span, and
// collects what was sent, delivered and dropped.
bool RunSuits(int suitCount, std::chrono::seconds span, RunResult& result, std::string& error)
{
    if (!VarnelInit()) {
        error = "port 8000 is taken";
        return false;
    }
    size_t capacity = size_t(FramesPerSecond * double(span.count())) + 240;
    std::vector<std::unique_ptr<CountingSuit>> suits;
    for (int i = 0; i < suitCount; i++) {
        std::string name = "Bench suit " + std::to_string(i + 1);
        suits.push_back(std::make_unique<CountingSuit>(name.c_str(), capacity));
        suits.back()->SendUncounted();
    }
    DeliveryLog log;
    log.suitCount = suitCount;
    log.latencies.resize(capacity * size_t(suitCount));
    if (VarnelFindSuits() != suitCount) {
        VarnelFinish();
        error = "not every suit was found";
        return false;
    }
    for (int i = 0; i < suitCount; i++) {
        log.suits[i] = suits[size_t(i)].get();
        log.handles[i] = VarnelOpen(&suits[size_t(i)]->Info(), MeasureFrame, nullptr);
    }
    activeLog = &log;

    auto period = std::chrono::duration<double>(1.0 / FramesPerSecond);
    double cpuBefore = ReceiveThreadCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < suitCount; i++) {
        // Real suits are not in step: spread the starts over one period.
        auto delay = std::chrono::duration_cast<std::chrono::nanoseconds>(period * i / suitCount);
        suits[size_t(i)]->Start(FramesPerSecond, delay);
    }
    std::this_thread::sleep_for(span);
    for (auto& suit : suits)
        suit->Stop();
    // Let the last datagrams through.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    result.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.receiveCpuSeconds = ReceiveThreadCpuSeconds() - cpuBefore;
    for (int i = 0; i < suitCount; i++) {
        result.sent[i] = suits[size_t(i)]->Sent();
        result.delivered[i] = log.delivered[i].load();
        result.dropped[i] = VarnelGetDropped(log.handles[i]);
    }
    VarnelFinish();
    activeLog = nullptr;
    log.latencies.resize(log.latencyCount.load());
    result.latencies = std::move(log.latencies);
    return true;
}
} // namespace

namespace {
void SetRunCounters(benchmark::State& state, const RunResult& result, int suitCount)
{
    uint32_t sent = 0, delivered = 0, dropped = 0;
    int64_t lost = 0, worstLost = 0;
    for (int i = 0; i < suitCount; i++) {
        sent += result.sent[i];
        delivered += result.delivered[i];
        dropped += result.dropped[i];
        int64_t suitLost = int64_t(result.sent[i]) - result.delivered[i] - result.dropped[i];
        lost += suitLost;
        worstLost = std::max(worstLost, std::abs(suitLost));
    }
    state.counters["sent"] = sent;
    state.counters["delivered"] = delivered;
    state.counters["dropped"] = dropped;
    // sent - delivered - dropped: lost by the socket (never negative if the
    // accounting is right).
    state.counters["lost"] = double(lost);
    state.counters["worst_suit_mismatch"] = double(worstLost);
    state.counters["p50_us"] = PercentileMicroseconds(result.latencies, 0.50);
    state.counters["p99_us"] = PercentileMicroseconds(result.latencies, 0.99);
    state.counters["max_us"] = PercentileMicroseconds(result.latencies, 1.0);
    state.counters["receive_cpu_percent"] = 100.0 * result.receiveCpuSeconds / result.wallSeconds;
}

void Run(benchmark::State& state, int suitCount, std::chrono::seconds span)
{
    RunResult result;
    for (auto _ : state) {
        std::string error;
        if (!RunSuits(suitCount, span, result, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        // Time column: the median latency.
        state.SetIterationTime(PercentileMicroseconds(result.latencies, 0.50) / 1e6);
    }
    SetRunCounters(state, result, suitCount);
}

// One suit at 120 Hz for 10 s: timestamp before sendto to timestamp in the
// frame callback.
void DeliveryLatency(benchmark::State& state)
{
    Run(state, 1, std::chrono::seconds(10));
}

// Eight suits at 120 Hz for 30 s, all open.
void EightSuits(benchmark::State& state)
{
    Run(state, 8, std::chrono::seconds(30));
}
} // namespace

BENCHMARK(DeliveryLatency)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(EightSuits)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
