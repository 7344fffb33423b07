#include "varnel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {
FloorGeometry Floor(float dzdx, float dzdy, float z0, float min, float max, int clamp, int steps)
{
    return FloorGeometry{dzdx, dzdy, z0, min, max, clamp, steps};
}

bool SameFloor(const FloorGeometry& a, const FloorGeometry& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Runs first in its process: nothing has set the floor yet.
TEST(Floor, IsLevelAtZeroWhenLoaded)
{
    FloorGeometry floor;
    std::memset(&floor, 0xff, sizeof floor);
    VarnelGetFloor(&floor);
    EXPECT_TRUE(SameFloor(floor, Floor(0, 0, 0, 0, 0, 0, 0)));
    EXPECT_EQ(VarnelFloorHeight(123.0f, -45.0f), 0.0f);
}

TEST(Floor, GetReturnsTheFieldsAsSet)
{
    const FloorGeometry set = Floor(0.25f, -0.5f, 3.0f, -7.0f, 9.0f, 1, -3);
    VarnelSetFloor(set);
    FloorGeometry got;
    VarnelGetFloor(&got);
    EXPECT_TRUE(SameFloor(got, set));
}

TEST(FloorHeight, InclinedPlane)
{
    VarnelSetFloor(Floor(0.5f, 0, 0, 0, 0, 0, 0));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(2, 7), 1.0f);
    VarnelSetFloor(Floor(0.5f, -0.25f, 2, 0, 0, 0, 0));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(2, 8), 1.0f);
}

TEST(FloorHeight, ClampsIntoThePlateau)
{
    VarnelSetFloor(Floor(1, 0, 0, -1, 2, 1, 0));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(5, 0), 2.0f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(-3, 0), -1.0f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(0.5f, 0), 0.5f);
}

TEST(FloorHeight, ClampedStairs)
{
    VarnelSetFloor(Floor(1, 0, 0, 0, 10, 1, 4));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(3.7f, 0), 2.5f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(10, 0), 10.0f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(12, 0), 10.0f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(-1, 0), 0.0f);
}

TEST(FloorHeight, UnclampedStairsContinuePastTheBounds)
{
    VarnelSetFloor(Floor(1, 0, 0, 0, 10, 0, 4));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(-1, 0), -2.5f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(12, 0), 10.0f);
    EXPECT_FLOAT_EQ(VarnelFloorHeight(13, 0), 12.5f);
}

TEST(FloorHeight, NoStairsWithoutARange)
{
    VarnelSetFloor(Floor(1, 0, 0, 5, 5, 1, 4));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(7.3f, 0), 5.0f);
    VarnelSetFloor(Floor(1, 0, 0, 6, 2, 0, 4));
    EXPECT_FLOAT_EQ(VarnelFloorHeight(3.7f, 0), 3.7f);
}

// One thread swaps between two floors that differ in every field while
// another reads; a torn copy would mix fields of both.
TEST(Floor, ReadersSeeWholeFloorsWhileAnotherThreadSetsThem)
{
    const FloorGeometry a = Floor(1, 2, 3, 4, 6, 0, 4);
    const FloorGeometry b = Floor(-1, -2, -3, -4, 50, 1, 7);
    VarnelSetFloor(a);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop.load(std::memory_order_relaxed); i++)
            VarnelSetFloor(i % 2 ? a : b);
    });
    // Heights at (1, 1) under a and b: whole floors give only these two.
    const float heightA = 6.0f, heightB = -4.0f;
    int mixed = 0, seenA = 0, seenB = 0;
    for (int i = 0; i < 200000; i++) {
        FloorGeometry floor;
        VarnelGetFloor(&floor);
        if (SameFloor(floor, a))
            seenA++;
        else if (SameFloor(floor, b))
            seenB++;
        else
            mixed++;
        float height = VarnelFloorHeight(1, 1);
        if (height != heightA && height != heightB)
            mixed++;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(seenA + seenB, 0);
}
} // namespace
