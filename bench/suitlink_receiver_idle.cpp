// CPU share of the receive thread while one open suit stays silent. Binds
// port 8000: run under flock /tmp/varnel-udp8000.lock.
#include "loopback_suit.h"
#include "suitlink/receive_thread.h"
#include "varnel.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {
void ReceiverIdle(benchmark::State& state)
{
    if (!VarnelInit()) {
        state.SkipWithError("port 8000 is taken");
        return;
    }
    LoopbackSuit suit("Silent suit");
    suit.SendOnce();
    if (VarnelFindSuits() != 1 || !VarnelOpen(nullptr, nullptr, nullptr)) {
        VarnelFinish();
        state.SkipWithError("the suit was not found");
        return;
    }
    const auto span = std::chrono::seconds(3);
    double cpuSeconds = 0.0, wallSeconds = 0.0;
    for (auto _ : state) {
        double before = ReceiveThreadCpuSeconds();
        auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(span);
        double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double used = ReceiveThreadCpuSeconds() - before;
        state.SetIterationTime(used);
        cpuSeconds += used;
        wallSeconds += wall;
    }
    VarnelFinish();
    state.counters["receive_thread_cpu_percent"] = 100.0 * cpuSeconds / wallSeconds;
}
} // namespace

// Manual time is the receive thread's CPU time over three silent seconds.
BENCHMARK(ReceiverIdle)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
