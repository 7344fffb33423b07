// Varnview's playback timer at 120 frames per second: a take played for ten
// seconds through the Play command, the time of every tick taken where the
// tick asks for its repaint. The period is the frame time truncated to whole
// milliseconds (8 ms); the counters give the mean period the ticks kept and
// the 99th percentile of how far one period strayed from 8 ms.
#include "tests/support/fake_shell.h"
#include "viewer/engine_commands.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

class TickClock : public FakeShell {
  public:
    explicit TickClock(ViewerState& state) : state(state) { ticks.reserve(4096); }
    void RequestRepaint() override
    {
        ticks.push_back(Clock::now());
        state.RepaintPending = 0; // every tick asks again
    }
    ViewerState& state;
    std::vector<Clock::time_point> ticks; // written by the timer's thread only
};

void PlaybackAt120Hz(benchmark::State& run)
{
    ViewerState& state = Viewer();
    VarnelInitSkeleton(&state.Skeleton);
    for (int i = 1; i < 1200; i++)
        VarnelAddFrame(&state.Skeleton);
    state.Skeleton.frameTime = 1.0f / 120;
    state.Loop = 1;
    const double nominal = double(PlaybackPeriod(state.Skeleton.frameTime).count());
    std::vector<double> periods;
    for (auto _ : run) {
        TickClock shell(state);
        PlayCommand(state, shell);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        StopCommand(state, shell);
        for (size_t i = 1; i < shell.ticks.size(); i++)
            periods.push_back(
                std::chrono::duration<double, std::milli>(shell.ticks[i] - shell.ticks[i - 1])
                    .count());
    }
    if (periods.empty()) {
        run.SkipWithError("no ticks");
        return;
    }
    double sum = 0;
    std::vector<double> deviations;
    for (double period : periods) {
        sum += period;
        deviations.push_back(std::fabs(period - nominal));
    }
    std::sort(deviations.begin(), deviations.end());
    run.counters["ticks"] = double(periods.size() + 1);
    run.counters["nominal_ms"] = nominal;
    run.counters["mean_period_ms"] = sum / double(periods.size());
    run.counters["p99_deviation_ms"] = deviations[deviations.size() * 99 / 100];
    run.counters["max_deviation_ms"] = deviations.back();
    VarnelFreeSkeletonFrames(&state.Skeleton);
}
BENCHMARK(PlaybackAt120Hz)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
} // namespace

BENCHMARK_MAIN();
