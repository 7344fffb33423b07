// The playback timer's own thread: started, ended by its tick, replaced and
// stopped from the owner's thread.
#include "tests/suitlink/suit_link_test_support.h"
#include "viewer/playback_timer.h"

#include <gtest/gtest.h>

namespace {
using namespace std::chrono_literals;

TEST(PlaybackTimerTest, ATickThatReturnsFalseEndsTheTimer)
{
    PlaybackTimer timer;
    std::atomic<int> ticks{0};
    ASSERT_TRUE(timer.Start(1ms, [&] { return ++ticks < 3; }));
    ASSERT_TRUE(WaitUntil([&] { return !timer.Running(); }));
    timer.Stop();
    EXPECT_EQ(ticks, 3);
}

TEST(PlaybackTimerTest, StopWaitsForTheTickInProgressAndNoTickFollows)
{
    PlaybackTimer timer;
    std::atomic<bool> inTick{false}, stopped{false}, tickedAfterStop{false};
    std::atomic<int> ticks{0};
    ASSERT_TRUE(timer.Start(1ms, [&] {
        inTick = true;
        tickedAfterStop = tickedAfterStop || stopped;
        std::this_thread::sleep_for(2ms);
        ticks++;
        inTick = false;
        return true;
    }));
    ASSERT_TRUE(WaitUntil([&] { return inTick.load(); }));
    timer.Stop();
    stopped = true;
    EXPECT_FALSE(inTick);
    EXPECT_FALSE(timer.Running());
    const int atStop = ticks;
    timer.Stop(); // again: nothing to do
    EXPECT_EQ(ticks, atStop);
    EXPECT_FALSE(tickedAfterStop);
}

TEST(PlaybackTimerTest, AStartReplacesTheRunningTimerAndTheLastOneEndsWithTheTimer)
{
    PlaybackTimer timer;
    std::atomic<int> first{0}, second{0};
    ASSERT_TRUE(timer.Start(1ms, [&] { return ++first, true; }));
    ASSERT_TRUE(WaitUntil([&] { return first > 0; }));
    ASSERT_TRUE(timer.Start(1ms, [&] { return ++second, true; }));
    const int firstAtRestart = first;
    ASSERT_TRUE(WaitUntil([&] { return second > 2; }));
    EXPECT_EQ(first, firstAtRestart);
    EXPECT_FALSE(timer.Start(0ms, [] { return true; })); // and stops the second
    EXPECT_FALSE(timer.Running());
    ASSERT_TRUE(timer.Start(1ms, [] { return true; })); // the destructor joins it
}

} // namespace
