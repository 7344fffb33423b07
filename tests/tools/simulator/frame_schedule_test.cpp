#include "tools/simulator/frame_schedule.h"

#include <gtest/gtest.h>

namespace {
// A monotonic clock a few days after boot.
constexpr int64_t Start = 271828182845904;

TEST(FrameSchedule, FramesFallOnWholeSecondsWithoutDrift)
{
    FrameSchedule schedule(Start, 60.0);
    EXPECT_EQ(schedule.DueTime(0), Start);
    EXPECT_EQ(schedule.DueTime(60), Start + NanosecondsPerSecond);
    // Adding a rounded period of 16666667 ns per frame would be 1.7 ms late here.
    const uint64_t day = 60ull * 86400;
    EXPECT_EQ(schedule.DueTime(day), Start + 86400 * NanosecondsPerSecond);

    FrameSchedule ntsc(Start, 59.94);
    EXPECT_EQ(ntsc.DueTime(5994), Start + 100 * NanosecondsPerSecond);
}

TEST(FrameSchedule, PeriodsStayWithinOneNanosecondOfTheExactPeriod)
{
    FrameSchedule schedule(Start, 60.0);
    for (uint64_t frame = 1000000; frame < 1000200; frame++) {
        int64_t period = schedule.DueTime(frame) - schedule.DueTime(frame - 1);
        EXPECT_TRUE(period == 16666666 || period == 16666667) << period;
    }
}

TEST(FrameSchedule, SlowRates)
{
    FrameSchedule schedule(Start, 0.5);
    EXPECT_EQ(schedule.DueTime(3), Start + 6 * NanosecondsPerSecond);
}

TEST(FramesInSeconds, CoversTheDurationWithoutAnExtraFrame)
{
    EXPECT_EQ(FramesInSeconds(1.0, 60.0), 60u);
    EXPECT_EQ(FramesInSeconds(1.1, 50.0), 55u); // 1.1 * 50 is 55.00000000000001
    EXPECT_EQ(FramesInSeconds(1.01, 60.0), 61u);
    EXPECT_EQ(FramesInSeconds(0.001, 60.0), 1u);
}
} // namespace
