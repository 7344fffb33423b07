// The floor height: asked for the support point on every solved frame and
// for every grid point and shadow the viewer draws.
#include "varnel.h"

#include <benchmark/benchmark.h>

namespace {
void FloorHeightStairs(benchmark::State& state)
{
    VarnelSetFloor(FloorGeometry{0.1f, -0.05f, 1.0f, 0.0f, 20.0f, 1, 8});
    float x = -50.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(VarnelFloorHeight(x, 3.0f));
        x = x > 50.0f ? -50.0f : x + 0.37f;
    }
}
BENCHMARK(FloorHeightStairs);

// Readers while another thread keeps replacing the floor: the reads retry
// but never wait for a lock.
void FloorHeightWhileSet(benchmark::State& state)
{
    if (state.thread_index() == 0) {
        for (auto _ : state)
            VarnelSetFloor(FloorGeometry{0.1f, -0.05f, 1.0f, 0.0f, 20.0f, 1, 8});
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(VarnelFloorHeight(4.0f, 3.0f));
}
BENCHMARK(FloorHeightWhileSet)->Threads(2);
} // namespace

BENCHMARK_MAIN();
