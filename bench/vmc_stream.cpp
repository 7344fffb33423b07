// `varnel stream`'s sending: from a suit datagram leaving its socket to the
// VMC bundle of its frame arriving at a receiver on loopback, and eight
// suits at 120 Hz streamed to two receivers. Binds port
// 8000: run under flock /tmp/varnel-udp8000.lock.
#include "counting_suit.h"
#include "latency_percentile.h"
#include "tools/stream/vmc_sender.h"
#include "varnel.h"

#include <benchmark/benchmark.h>
#include <lo/lo.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr double FramesPerSecond = 120.0;
constexpr int MaxSuits = 8;

// Counts the bundles a receiver gets and stamps each on arrival: decoded
// by liblo's OSC server (the end of each bundle, as an avatar program gets
// it), or as the datagram reaches its socket (what our side costs, with the
// receiver's parsing left out).
class Receiver {
  public:
    Receiver(size_t capacity, bool decode) : arrivals(capacity)
    {
        if (!decode) {
            socketThread = std::thread([this] { TakeOffSocket(); });
            return;
        }
        server = lo_server_thread_new(nullptr, nullptr);
        lo_server_add_bundle_handlers(lo_server_thread_get_server(server), Start, End, this);
        lo_server_thread_add_method(server, nullptr, nullptr, Ignore, nullptr);
        lo_server_thread_start(server);
    }
    ~Receiver()
    {
        if (server) {
            lo_server_thread_stop(server);
            lo_server_thread_free(server);
        }
        stopping.store(true);
        if (socketThread.joinable())
            socketThread.join();
    }
    uint16_t Port() const
    {
        return server ? uint16_t(lo_server_thread_get_port(server)) : socket.Port();
    }
    size_t Count() const { return count.load(); }
    int64_t Arrival(size_t k) const { return arrivals[k]; }

  private:
    void Arrived()
    {
        size_t k = count.load();
        if (k < arrivals.size())
            arrivals[k] = MonotonicNanoseconds();
        count.store(k + 1);
    }
    void TakeOffSocket()
    {
        std::vector<uint8_t> bundle(65536);
        uint16_t from = 0;
        while (!stopping.load())
            if (socket.Receive(bundle.data(), int(bundle.size()), 50, &from) > 0)
                Arrived();
    }
    static int Start(lo_timetag, void*) { return 0; }
    static int End(void* self)
    {
        static_cast<Receiver*>(self)->Arrived();
        return 0;
    }
    static int Ignore(const char*, const char*, lo_arg**, int, lo_message, void*) { return 0; }

    lo_server_thread server = nullptr;
    LoopbackSocket socket;
    std::thread socketThread;
    std::atomic<bool> stopping{false};
    std::vector<int64_t> arrivals;
    std::atomic<size_t> count{0};
};

// What the frame callback needs; filled before the suits start sending.
struct StreamLog {
    VarnelHandle handles[MaxSuits] = {};
    VmcSender* senders[MaxSuits] = {};
    int suitCount = 0;
    std::atomic<uint32_t> delivered[MaxSuits] = {};
    // Suit 0's frame counters in the order offered: bundle k is frame k.
    std::vector<int32_t> counters;
    std::atomic<size_t> counterCount{0};
};
StreamLog* activeLog = nullptr;

void OfferFrame(const SkeletonFrame* pose, VarnelHandle suit)
{
    StreamLog& log = *activeLog;
    for (int i = 0; i < log.suitCount; i++) {
        if (log.handles[i] != suit)
            continue;
        log.delivered[i].fetch_add(1);
        if (i == 0) {
            size_t k = log.counterCount.load();
            if (k < log.counters.size()) {
                log.counters[k] = pose->counter;
                log.counterCount.store(k + 1);
            }
        }
        log.senders[i]->Offer(*pose);
        return;
    }
}

void Run(benchmark::State& state, int suitCount, int targetCount, std::chrono::seconds span,
         bool decode)
{
    for (auto _ : state) {
        if (!VarnelInit()) {
            state.SkipWithError("port 8000 is taken");
            return;
        }
        size_t capacity = size_t(FramesPerSecond * double(span.count())) + 240;
        std::vector<std::unique_ptr<Receiver>> receivers;
        std::vector<Destination> targets;
        for (int t = 0; t < targetCount; t++) {
            receivers.push_back(std::make_unique<Receiver>(capacity * size_t(suitCount), decode));
            targets.push_back({"127.0.0.1", receivers.back()->Port()});
        }
        std::vector<std::unique_ptr<CountingSuit>> suits;
        for (int i = 0; i < suitCount; i++) {
            std::string name = "Bench suit " + std::to_string(i + 1);
            suits.push_back(std::make_unique<CountingSuit>(name.c_str(), capacity));
            suits.back()->SendUncounted();
        }
        if (VarnelFindSuits() != suitCount) {
            VarnelFinish();
            state.SkipWithError("not every suit was found");
            return;
        }
        StreamLog log;
        log.suitCount = suitCount;
        log.counters.resize(capacity);
        std::vector<std::unique_ptr<VmcSender>> senders;
        Skeleton body;
        VarnelInitSkeleton(&body);
        for (int i = 0; i < suitCount; i++) {
            senders.push_back(std::make_unique<VmcSender>());
            senders.back()->Open(targets);
            senders.back()->Start(body, 0);
            log.senders[i] = senders.back().get();
            log.handles[i] = VarnelOpen(&suits[size_t(i)]->Info(), OfferFrame, nullptr);
        }
        activeLog = &log;
        auto period = std::chrono::duration<double>(1.0 / FramesPerSecond);
        for (int i = 0; i < suitCount; i++) {
            auto delay =
                std::chrono::duration_cast<std::chrono::nanoseconds>(period * i / suitCount);
            suits[size_t(i)]->Start(FramesPerSecond, delay);
        }
        std::this_thread::sleep_for(span);
        for (auto& suit : suits)
            suit->Stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        uint64_t sent = 0, delivered = 0, dropped = 0, skipped = 0, bundles = 0, failures = 0;
        for (int i = 0; i < suitCount; i++) {
            sent += suits[size_t(i)]->Sent();
            delivered += log.delivered[i].load();
            dropped += VarnelGetDropped(log.handles[i]);
        }
        VarnelFinish();
        activeLog = nullptr;
        for (auto& sender : senders) {
            sender->Stop();
            skipped += sender->Skipped();
            bundles += sender->Sent();
            failures += sender->Failures();
        }
        VarnelFreeSkeletonFrames(&body);
        uint64_t received = 0;
        for (auto& receiver : receivers)
            received += receiver->Count();
        // Suit 0's latencies, with one receiver, where bundle k is frame k.
        std::vector<int64_t> latencies;
        if (suitCount == 1 && skipped == 0)
            for (size_t k = 0; k < std::min(log.counterCount.load(), receivers[0]->Count()); k++)
                latencies.push_back(receivers[0]->Arrival(k) -
                                    suits[0]->SendTime(uint32_t(log.counters[k])));
        state.SetIterationTime(PercentileMicroseconds(latencies, 0.50) / 1e6);
        state.counters["datagrams"] = double(sent);
        state.counters["delivered"] = double(delivered);
        state.counters["dropped"] = double(dropped);
        state.counters["skipped"] = double(skipped);
        state.counters["bundles"] = double(bundles);
        state.counters["refused"] = double(failures);
        // Bundles that every target should have had, less those they got.
        state.counters["lost"] = double(bundles * uint64_t(targetCount)) - double(received);
        state.counters["p50_us"] = PercentileMicroseconds(latencies, 0.50);
        state.counters["p99_us"] = PercentileMicroseconds(latencies, 0.99);
        state.counters["max_us"] = PercentileMicroseconds(latencies, 1.0);
    }
}

// The sender alone: a frame offered as the frame callback offers it, every
// 8 ms, to its arrival on a receiving socket (no library, no decoding).
void OfferToSocket(benchmark::State& state)
{
    constexpr size_t Frames = 1000;
    for (auto _ : state) {
        Receiver receiver(Frames, false);
        VmcSender sender;
        sender.Open({{"127.0.0.1", receiver.Port()}});
        Skeleton body;
        VarnelInitSkeleton(&body);
        sender.Start(body, 0);
        std::vector<int64_t> latencies;
        for (size_t k = 0; k < Frames; k++) {
            int64_t offered = MonotonicNanoseconds();
            sender.Offer(body.frames[0]);
            // Long enough for the bundle to arrive; nothing else runs meanwhile.
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
            if (receiver.Count() > k)
                latencies.push_back(receiver.Arrival(k) - offered);
        }
        sender.Stop();
        VarnelFreeSkeletonFrames(&body);
        state.SetIterationTime(PercentileMicroseconds(latencies, 0.50) / 1e6);
        state.counters["bundles"] = double(latencies.size());
        state.counters["p50_us"] = PercentileMicroseconds(latencies, 0.50);
        state.counters["p99_us"] = PercentileMicroseconds(latencies, 0.99);
        state.counters["max_us"] = PercentileMicroseconds(latencies, 1.0);
    }
}

// One suit at 120 Hz for 10 s to one receiver, which decodes the bundles
// (Arg 1) or only takes them off its socket (Arg 0).
void DatagramToBundle(benchmark::State& state)
{
    Run(state, 1, 1, std::chrono::seconds(10), state.range(0) != 0);
}

// Eight suits at 120 Hz for 30 s, each streamed to the same two receivers.
void EightSuitsToTwoTargets(benchmark::State& state)
{
    Run(state, 8, 2, std::chrono::seconds(30), state.range(0) != 0);
}
} // namespace

BENCHMARK(OfferToSocket)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(DatagramToBundle)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(EightSuitsToTwoTargets)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
