// Varnview's frame callback while recording: one hour of a 120 Hz suit
// (432,000 frames) through ViewerFrameCallback with a fake window, each
// frame appended to the take. The display paints every other frame (60 Hz),
// so half the frames are also copied into the live frame.
#include "take_generator.h"
#include "tests/support/fake_shell.h"
#include "viewer/engine.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int HourAt120Hz = 432000;

void RecordHourAt120Hz(benchmark::State& run)
{
    ViewerState& state = Viewer();
    FakeShell shell;
    state.MainFrame = &shell;
    VarnelInitSkeleton(&state.Skeleton);
    state.Recording = 1;
    SkeletonFrame pose;
    FillBenchmarkFrame(&pose, 1234);
    for (auto _ : run) {
        run.PauseTiming();
        VarnelFreeSkeletonFrames(&state.Skeleton);
        run.ResumeTiming();
        for (int i = 0; i < HourAt120Hz; i++) {
            ViewerFrameCallback(&pose, nullptr);
            if (i % 2)
                state.RepaintPending = 0; // as a paint leaves it
        }
        benchmark::DoNotOptimize(state.Skeleton.frames);
    }
    if (state.Skeleton.numFrames != HourAt120Hz)
        run.SkipWithError("the take lost frames");
    run.SetItemsProcessed(int64_t(run.iterations()) * HourAt120Hz);
    run.counters["ns_per_frame"] =
        benchmark::Counter(double(run.iterations()) * HourAt120Hz,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.Recording = 0;
    VarnelFreeSkeletonFrames(&state.Skeleton);
}
BENCHMARK(RecordHourAt120Hz)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

BENCHMARK_MAIN();
