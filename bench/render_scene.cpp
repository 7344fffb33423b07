// One paint of the full scene (solid body, grid, axes, shadows, node and
// contact markers, names) of the rest pose, into a canvas that only counts:
// the renderer's own cost, without any drawing toolkit.
#include "render/scene.h"

#include <benchmark/benchmark.h>

namespace {
class CountingCanvas : public Canvas {
  public:
    int64_t calls = 0;
    void Fill(Color) override { calls++; }
    void SetPen(Color, int) override { calls++; }
    void Line(PixelPoint, PixelPoint) override { calls++; }
    void Circle(PixelPoint, int) override { calls++; }
    void Triangle(PixelPoint, PixelPoint, PixelPoint, Color) override { calls++; }
    void Text(PixelPoint, const char*, Color, float) override { calls++; }
};

void FullScene(benchmark::State& state)
{
    static Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    VarnelApplyFrame(&skeleton, &skeleton.frames[0], 0, 0);
    FloorGeometry floor = {};
    VarnelSetFloor(floor);
    Camera camera;
    camera.ViewWidth = 800;
    camera.ViewHeight = 600;
    SceneOptions options;
    options.showNodes = true;
    options.showNodeNames = true;
    const uint32_t contacts = ContactLeftFootHeel | ContactRightFootHeel | ContactLeftFootBall;

    CountingCanvas canvas;
    for (auto _ : state) {
        DrawScene(canvas, camera, skeleton, contacts, floor, options);
        benchmark::ClobberMemory();
    }
    state.counters["calls per paint"] = double(canvas.calls) / double(state.iterations());
    VarnelFreeSkeletonFrames(&skeleton);
}
BENCHMARK(FullScene);
} // namespace

BENCHMARK_MAIN();
