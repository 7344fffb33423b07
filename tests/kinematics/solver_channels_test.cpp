#include "kinematics/channel_input.h"
#include "solver_raw_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

struct Blocks {
    uint8_t raw[SuitRawSize] = {};
    uint8_t previous[SuitRawSize] = {};
    uint8_t null[SuitRawSize] = {};
};

TEST(ChannelAngles, CountsFromTheCalibrationReadingTimesTheGain)
{
    Blocks b;
    for (int i = 0; i < RawChannelCount; i++) {
        PutRawChannel(b.null, i, 3000);
        PutRawChannel(b.raw, i, 3000 + 2048);
    }
    PutRawChannel(b.raw, 25, 3000 - 2048);
    float angle[RawChannelCount];
    ComputeChannelAngles(b.raw, b.null, angle);
    EXPECT_FLOAT_EQ(angle[2], 2.8797932f);  // +g
    EXPECT_FLOAT_EQ(angle[1], -2.8797932f); // -g
    EXPECT_FLOAT_EQ(angle[25], 2.8797932f); // -g, reading below calibration
    for (int unused : {0, 37, 38, 39, 40, 47})
        EXPECT_EQ(angle[unused], 0.0f) << unused;

    ComputeChannelAngles(b.null, b.null, angle);
    for (float a : angle)
        EXPECT_EQ(a, 0.0f);
}

TEST(ChannelAngles, FullCountRangeKeepsItsSign)
{
    Blocks b;
    PutRawChannel(b.null, 2, 0);
    PutRawChannel(b.raw, 2, 65535);
    float angle[RawChannelCount];
    ComputeChannelAngles(b.raw, b.null, angle);
    EXPECT_FLOAT_EQ(angle[2], 65535 * 0.001406149f);
}

TEST(JitterFilter, HoldsOneCountAndTakesLargerSteps)
{
    Blocks b;
    PutRawChannel(b.previous, 0, 500);
    PutRawChannel(b.previous, 1, 500);
    PutRawChannel(b.previous, 2, 500);
    PutRawChannel(b.previous, 3, 0);
    PutRawChannel(b.previous, 4, 65535);
    PutRawChannel(b.raw, 0, 501);
    PutRawChannel(b.raw, 1, 499);
    PutRawChannel(b.raw, 2, 502);
    PutRawChannel(b.raw, 3, 65535); // the whole range is a large step, not a one-count wrap
    PutRawChannel(b.raw, 4, 0);
    FilterJitter(b.raw, b.previous);

    EXPECT_EQ(RawChannel(b.raw, 0), 500);
    EXPECT_EQ(RawChannel(b.raw, 1), 500);
    EXPECT_EQ(RawChannel(b.previous, 0), 500);
    EXPECT_EQ(RawChannel(b.raw, 2), 502);
    EXPECT_EQ(RawChannel(b.previous, 2), 502);
    EXPECT_EQ(RawChannel(b.raw, 3), 65535);
    EXPECT_EQ(RawChannel(b.previous, 3), 65535);
    EXPECT_EQ(RawChannel(b.raw, 4), 0);
    EXPECT_EQ(RawChannel(b.previous, 4), 0);

    // The reference is the last accepted value, so 501 after 502 is held at 502.
    PutRawChannel(b.raw, 2, 501);
    FilterJitter(b.raw, b.previous);
    EXPECT_EQ(RawChannel(b.raw, 2), 502);
}

TEST(JitterFilter, LeavesTheRestOfTheBlockAlone)
{
    Blocks b;
    PutRawOrientation(b.raw, 1, 2, 3);
    PutRawCounter(b.raw, 77);
    uint8_t before[SuitRawSize];
    std::copy(std::begin(b.raw), std::end(b.raw), before);
    FilterJitter(b.raw, b.previous);
    EXPECT_TRUE(std::equal(std::begin(b.raw), std::end(b.raw), before));
    EXPECT_TRUE(std::equal(b.previous + RawChannelsSize, b.previous + SuitRawSize,
                           b.null + RawChannelsSize));
}

} // namespace
