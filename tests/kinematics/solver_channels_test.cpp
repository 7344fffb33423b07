#include "kinematics/channel_input.h"
#include "tests/support/suit_datagrams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

SuitReadings AllChannelsAt(uint16_t counts)
{
    SuitReadings readings;
    std::fill(std::begin(readings.channels), std::end(readings.channels), counts);
    return readings;
}

uint16_t ChannelOf(const SuitRawBlock& block, int channel)
{
    return DecodeSuitReadings(block.data()).channels[channel];
}

TEST(ChannelAngles, CountsFromTheCalibrationReadingTimesTheGain)
{
    SuitReadings now = AllChannelsAt(3000 + 2048);
    now.channels[25] = 3000 - 2048;
    SuitRawBlock null = MakeRawBlock(AllChannelsAt(3000));
    float angle[RawChannelCount];
    ComputeChannelAngles(MakeRawBlock(now).data(), null.data(), angle);
    EXPECT_FLOAT_EQ(angle[2], 2.8797932f);  // +g
    EXPECT_FLOAT_EQ(angle[1], -2.8797932f); // -g
    EXPECT_FLOAT_EQ(angle[25], 2.8797932f); // -g, reading below calibration
    for (int unused : {0, 37, 38, 39, 40, 47})
        EXPECT_EQ(angle[unused], 0.0f) << unused;

    ComputeChannelAngles(null.data(), null.data(), angle);
    for (float a : angle)
        EXPECT_EQ(a, 0.0f);
}

TEST(ChannelAngles, FullCountRangeKeepsItsSign)
{
    SuitReadings now;
    now.channels[2] = 65535;
    float angle[RawChannelCount];
    ComputeChannelAngles(MakeRawBlock(now).data(), MakeRawBlock(SuitReadings{}).data(), angle);
    EXPECT_FLOAT_EQ(angle[2], 65535 * 0.001406149f);
}

TEST(JitterFilter, HoldsOneCountAndTakesLargerSteps)
{
    SuitReadings accepted, now;
    accepted.channels[0] = 500;
    accepted.channels[1] = 500;
    accepted.channels[2] = 500;
    accepted.channels[3] = 0;
    accepted.channels[4] = 65535;
    now.channels[0] = 501;
    now.channels[1] = 499;
    now.channels[2] = 502;
    now.channels[3] = 65535; // the whole range is a large step, not a one-count wrap
    now.channels[4] = 0;
    SuitRawBlock raw = MakeRawBlock(now), previous = MakeRawBlock(accepted);
    FilterJitter(raw.data(), previous.data());

    EXPECT_EQ(ChannelOf(raw, 0), 500);
    EXPECT_EQ(ChannelOf(raw, 1), 500);
    EXPECT_EQ(ChannelOf(previous, 0), 500);
    EXPECT_EQ(ChannelOf(raw, 2), 502);
    EXPECT_EQ(ChannelOf(previous, 2), 502);
    EXPECT_EQ(ChannelOf(raw, 3), 65535);
    EXPECT_EQ(ChannelOf(previous, 3), 65535);
    EXPECT_EQ(ChannelOf(raw, 4), 0);
    EXPECT_EQ(ChannelOf(previous, 4), 0);

    // The reference is the last accepted value, so 501 after 502 is held at 502.
    now.channels[2] = 501;
    raw = MakeRawBlock(now);
    FilterJitter(raw.data(), previous.data());
    EXPECT_EQ(ChannelOf(raw, 2), 502);
}

TEST(JitterFilter, LeavesTheRestOfTheBlockAlone)
{
    SuitReadings readings{{}, {1, 2, 3}, {}};
    SuitRawBlock raw = MakeRawBlock(readings, 77), previous{}, null{};
    SuitRawBlock before = raw;
    FilterJitter(raw.data(), previous.data());
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), before.begin()));
    EXPECT_TRUE(std::equal(previous.begin() + RawChannelsSize, previous.end(),
                           null.begin() + RawChannelsSize));
}

} // namespace
