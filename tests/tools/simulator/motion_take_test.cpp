#include "tests/tools/simulator/loopback_listener.h"
#include "tools/simulator/pose_readings.h"
#include "tools/simulator/simulator.h"
#include "tools/simulator/take_motion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
// Three frames told apart by the hips' height and the left knee.
std::vector<SkeletonFrame> ThreeFrames()
{
    std::vector<SkeletonFrame> frames(3);
    for (int i = 0; i < 3; i++) {
        std::memset(&frames[i], 0, sizeof frames[i]);
        frames[i].channels[2] = 36.0f + float(i);
        frames[i].channels[9] = 10.0f * float(i + 1);
    }
    return frames;
}

bool SameReadings(const SuitReadings& a, const SuitReadings& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

SuitReadings ReadingsOf(const SkeletonFrame& frame)
{
    SuitReadings readings;
    ReadingsFromPose(frame, readings);
    return readings;
}

TEST(MotionTake, LeadInThenTheFramesOnceOrOverAndOver)
{
    std::vector<SkeletonFrame> frames = ThreeFrames();
    SuitReadings rest, readings;
    NullPoseReadings(rest);

    TakeMotion once(frames.data(), 3, 2, false);
    EXPECT_EQ(once.FrameCount(), 5u);
    for (uint64_t frame = 0; frame < 2; frame++) {
        once.FillReadings(0, frame, readings);
        EXPECT_TRUE(SameReadings(readings, rest)) << frame;
    }
    for (uint64_t frame = 2; frame < 5; frame++) {
        once.FillReadings(0, frame, readings);
        EXPECT_TRUE(SameReadings(readings, ReadingsOf(frames[frame - 2]))) << frame;
    }

    TakeMotion looping(frames.data(), 3, 2, true);
    EXPECT_EQ(looping.FrameCount(), 0u) << "a loop never runs out";
    for (uint64_t frame = 2; frame < 12; frame++) {
        looping.FillReadings(1, frame, readings);
        EXPECT_TRUE(SameReadings(readings, ReadingsOf(frames[(frame - 2) % 3]))) << frame;
    }
    // The lead-in comes only once, not before every pass.
    looping.FillReadings(0, 5, readings);
    EXPECT_FALSE(SameReadings(readings, rest));
}

TEST(MotionTake, LeadInFramesAtTheRate)
{
    EXPECT_EQ(LeadInFrames(3.0, 60.0), 180u);
    EXPECT_EQ(LeadInFrames(0.0, 60.0), 0u);
    EXPECT_EQ(LeadInFrames(1.0, 29.97), 30u);
}

TEST(MotionTake, SimulatorStopsAtTheEndOfATakePlayedOnce)
{
    Listener listener;
    std::vector<SkeletonFrame> frames = ThreeFrames();
    TakeMotion take(frames.data(), 3, 2, false);
    SimulateOptions options = FastOptions(listener);
    options.frames = 100;
    Simulator simulator;
    ASSERT_EQ(simulator.Open(options), "");
    std::atomic<bool> stop{false};
    SimulationSummary summary = simulator.Run(take, stop);
    EXPECT_EQ(summary.frames, 5u);
    EXPECT_EQ(listener.Drain().size(), 5u);
}
} // namespace
