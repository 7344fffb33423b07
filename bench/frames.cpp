// The per-frame paths of the skeleton: appending a recorded frame and
// posing a frame for display.
#include "take_generator.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int HourAt120Hz = 432000;

void AddFrameHourAt120Hz(benchmark::State& state)
{
    static Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    for (auto _ : state) {
        VarnelFreeSkeletonFrames(&skeleton);
        for (int i = 0; i < HourAt120Hz; i++)
            VarnelAddFrame(&skeleton);
        benchmark::DoNotOptimize(skeleton.frames);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * HourAt120Hz);
    state.counters["ns_per_append"] =
        benchmark::Counter(double(state.iterations()) * HourAt120Hz,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    VarnelFreeSkeletonFrames(&skeleton);
}
BENCHMARK(AddFrameHourAt120Hz)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with each pose copied in, as a recording does: the first touch of
// every new page of the take is paid here.
void AddAndFillFrameHourAt120Hz(benchmark::State& state)
{
    static Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    SkeletonFrame pose;
    FillBenchmarkFrame(&pose, 1234);
    for (auto _ : state) {
        VarnelFreeSkeletonFrames(&skeleton);
        for (int i = 0; i < HourAt120Hz; i++) {
            VarnelAddFrame(&skeleton);
            skeleton.frames[i] = pose;
        }
        benchmark::DoNotOptimize(skeleton.frames);
    }
    state.counters["ns_per_append"] =
        benchmark::Counter(double(state.iterations()) * HourAt120Hz,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    VarnelFreeSkeletonFrames(&skeleton);
}
BENCHMARK(AddAndFillFrameHourAt120Hz)->Unit(benchmark::kMillisecond)->UseRealTime();

void ApplyFrame(benchmark::State& state)
{
    static Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    SkeletonFrame frames[64];
    for (int i = 0; i < 64; i++)
        FillBenchmarkFrame(&frames[i], i * 97);
    int i = 0;
    for (auto _ : state) {
        VarnelApplyFrame(&skeleton, &frames[i++ & 63], 0, 0);
        benchmark::DoNotOptimize(skeleton.nodes[NodeRightFootBall].worldPosition);
    }
    VarnelFreeSkeletonFrames(&skeleton);
}
BENCHMARK(ApplyFrame);
} // namespace

BENCHMARK_MAIN();
