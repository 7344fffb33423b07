// A paint allocates nothing: every operator new of this test program is
// counted, and the full scene is drawn into a canvas that keeps nothing.
#include "render/scene.h"
#include "tests/support/owned_skeleton.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};

class DiscardingCanvas : public Canvas {
  public:
    void Fill(Color) override {}
    void SetPen(Color, int) override {}
    void Line(PixelPoint, PixelPoint) override {}
    void Circle(PixelPoint, int) override {}
    void Triangle(PixelPoint, PixelPoint, PixelPoint, Color) override {}
    void Text(PixelPoint, const char*, Color, float) override {}
};
} // namespace

void* operator new(std::size_t size)
{
    allocations++;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

TEST(Paint, DrawsTheFullSceneAndTheRawChannelsWithoutAllocating)
{
    OwnedSkeleton skeleton;
    VarnelApplyFrame(skeleton.get(), &skeleton->frames[0], 0, 0);
    const FloorGeometry stairs = {0.1f, -0.05f, 1.0f, 0.0f, 20.0f, 1, 8};
    VarnelSetFloor(stairs);
    Camera camera;
    camera.ViewWidth = 800;
    camera.ViewHeight = 600;
    const SceneOptions everything = {true, true, true, true, true, true, RenderSolid};
    SceneOptions wireframe = everything;
    wireframe.renderType = RenderWireframe;
    const uint16_t channels[48] = {};
    DiscardingCanvas canvas;

    long before = allocations.load();
    DrawScene(canvas, camera, skeleton.skeleton, 15, stairs, everything);
    DrawScene(canvas, camera, skeleton.skeleton, 15, stairs, wireframe);
    DrawRawChannels(canvas, channels);
    EXPECT_EQ(allocations.load() - before, 0);
    VarnelSetFloor(FloorGeometry{});
}
