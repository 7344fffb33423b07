// A paint allocates nothing: this program counts every operator new.
#include "render/scene.h"
#include "tests/support/counting_new.h"
#include "tests/support/owned_skeleton.h"

#include <gtest/gtest.h>

namespace {
class DiscardingCanvas : public Canvas {
    void Fill(Color) override {}
    void SetPen(Color, int) override {}
    void Line(PixelPoint, PixelPoint) override {}
    void Circle(PixelPoint, int) override {}
    void Triangle(PixelPoint, PixelPoint, PixelPoint, Color) override {}
    void Text(PixelPoint, const char*, Color, float) override {}
};
} // namespace

TEST(Paint, DrawsTheFullSceneAndTheRawChannelsWithoutAllocating)
{
    OwnedSkeleton skeleton;
    VarnelApplyFrame(skeleton.get(), &skeleton->frames[0], 0, 0);
    const FloorGeometry stairs = {0.1f, -0.05f, 1.0f, 0.0f, 20.0f, 1, 8};
    VarnelSetFloor(stairs);
    const uint16_t channels[48] = {};
    DiscardingCanvas canvas;
    long before = allocations.load();
    DrawScene(canvas, Camera(), skeleton.skeleton, 15, stairs,
              {true, true, true, true, true, true});
    DrawRawChannels(canvas, channels);
    EXPECT_EQ(allocations.load() - before, 0);
    VarnelSetFloor(FloorGeometry{});
}
