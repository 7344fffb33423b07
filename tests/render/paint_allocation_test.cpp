// A paint allocates nothing: this program counts every operator new.
#include "render/scene.h"
#include "tests/support/owned_skeleton.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};

class DiscardingCanvas : public Canvas {
    void Fill(Color) override {}
    void SetPen(Color, int) override {}
    void Line(PixelPoint, PixelPoint) override {}
    void Circle(PixelPoint, int) override {}
    void Triangle(PixelPoint, PixelPoint, PixelPoint, Color) override {}
    void Text(PixelPoint, const char*, Color, float) override {}
};
} // namespace

// g++ pairs the library's inlined delete with this file's new and, not
// seeing that both replace the global pair, warns of a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

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
    const uint16_t channels[48] = {};
    DiscardingCanvas canvas;
    long before = allocations.load();
    DrawScene(canvas, Camera(), skeleton.skeleton, 15, stairs,
              {true, true, true, true, true, true});
    DrawRawChannels(canvas, channels);
    EXPECT_EQ(allocations.load() - before, 0);
    VarnelSetFloor(FloorGeometry{});
}
