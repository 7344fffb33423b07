// CPU cost of one discovery window while two suits send at 120 Hz. Binds
// port 8000: run under flock /tmp/varnel-udp8000.lock.
#include "loopback_suit.h"
#include "platform/thread_cpu_time.h"
#include "varnel.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {
void DiscoveryWindow(benchmark::State& state)
{
    if (!VarnelInit()) {
        state.SkipWithError("port 8000 is taken");
        return;
    }
    LoopbackSuit first("Bench suit 1"), second("Bench suit 2");
    first.Start(120.0);
    second.Start(120.0);
    double cpuSeconds = 0.0;
    int windows = 0, fewestFound = 2;
    for (auto _ : state) {
        double before = CurrentThreadCpuSeconds();
        int found = VarnelFindSuits();
        double used = CurrentThreadCpuSeconds() - before;
        state.SetIterationTime(used);
        cpuSeconds += used;
        windows++;
        fewestFound = std::min(fewestFound, found);
    }
    first.Stop();
    second.Stop();
    VarnelFinish();
    state.counters["cpu_ms_per_window"] = cpuSeconds * 1000.0 / windows;
    state.counters["suits_found"] = fewestFound;
}
} // namespace

// Manual time is the CPU time of the thread that listens.
BENCHMARK(DiscoveryWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
