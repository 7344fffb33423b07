#include "common/units.h"
#include "solver_test_actor.h"
#include "suitlink/suit_solve.h"
#include "tests/support/suit_datagrams.h"
#include "tests/support/vector_matchers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

uint16_t ChannelOf(const uint8_t* block, int channel)
{
    return DecodeSuitReadings(block).channels[channel];
}

class PoseSolver : public testing::Test {
  protected:
    SuitSlot slot;
    SkeletonFrame pose = {};
    // What the suit sends next.
    SuitReadings readings = StandingReadings();
    uint32_t counter = 1000;

    void SetUp() override
    {
        VarnelSetFloor(FloorGeometry{});
        slot.actor = StandardActor();
        Stored().hasData.store(1);
    }
    void TearDown() override { VarnelSetFloor(FloorGeometry{}); }

    // The slot with the readings stored, as the receive thread stores a datagram.
    SuitSlot& Stored()
    {
        SuitRawBlock raw = MakeRawBlock(readings, counter);
        std::copy(raw.begin(), raw.end(), slot.raw);
        return slot;
    }
    void Calibrate() { CalibrateSuit(Stored(), pose); }
    void Solve() { SolvePose(Stored(), pose); }
    Vector Hips() const { return Vector(pose.channels[0], pose.channels[1], pose.channels[2]); }
    Vector HipsAngles() const
    {
        return Vector(pose.channels[3], pose.channels[4], pose.channels[5]);
    }
    void Move(int channel, int counts)
    {
        readings.channels[channel] = uint16_t(ChannelOf(slot.solver.nullRaw, channel) + counts);
    }
    void Orient(float first, float second, float third)
    {
        readings.orientation[0] = first;
        readings.orientation[1] = second;
        readings.orientation[2] = third;
    }
};

TEST_F(PoseSolver, CalibrationFrameStandsTheNullPoseOnTheFloor)
{
    slot.droppedFrames.store(4);
    Calibrate();
    EXPECT_EQ(pose.counter, 0);
    EXPECT_EQ(pose.contacts, uint32_t(ContactLeftFootHeel));
    // The hips stand the leg's height above the lowest foot point.
    EXPECT_VECTOR_NEAR(Hips(), Vector(0, 0, 36.5f), 1e-5f);
    for (int channel = 3; channel < VARNEL_NUM_CHANNELS; channel++)
        EXPECT_EQ(pose.channels[channel], 0.0f) << channel;

    EXPECT_EQ(slot.nullSet.load(), 1);
    EXPECT_EQ(slot.droppedFrames.load(), 0u);
    EXPECT_EQ(slot.solver.support.supportIndex, 0);
    EXPECT_EQ(slot.solver.nullCounter, 1000u);
    EXPECT_TRUE(std::equal(std::begin(slot.raw), std::end(slot.raw), slot.solver.nullRaw));
    EXPECT_TRUE(std::equal(std::begin(slot.raw), std::end(slot.raw), slot.solver.previousRaw));
}

TEST_F(PoseSolver, CalibratingAgainDiscardsTheTravel)
{
    Calibrate();
    slot.solver.support.rootOffset = Vector(30, -12, 36.5f);
    slot.solver.support.supportIndex = 3;
    counter = 1500;
    Calibrate();
    EXPECT_EQ(pose.counter, 0);
    EXPECT_EQ(pose.contacts, uint32_t(ContactLeftFootHeel));
    EXPECT_VECTOR_NEAR(Hips(), Vector(0, 0, 36.5f), 1e-5f);
}

TEST_F(PoseSolver, OrientationTurnsTheHips)
{
    Calibrate();
    Orient(5, -7, 130);
    Solve();
    EXPECT_VECTOR_NEAR(HipsAngles(), Vector(0, 0, 30), 1e-4f);
    Orient(15, -7, 100);
    Solve();
    EXPECT_VECTOR_NEAR(HipsAngles(), Vector(0, 10, 0), 1e-4f);
    Orient(5, 3, 100);
    Solve();
    EXPECT_VECTOR_NEAR(HipsAngles(), Vector(10, 0, 0), 1e-4f);
}

TEST_F(PoseSolver, HipsTweakPrecedesTheSensorTurn)
{
    slot.actor.tweaks[TweakHipsX] = 10;
    Calibrate();
    Orient(5, -7, 130);
    Solve();
    // RotX(10) * RotZ(30) is RotYXZ(0, 10, 30); the other order is not.
    EXPECT_VECTOR_NEAR(HipsAngles(), Vector(10, 0, 30), 1e-4f);
}

TEST_F(PoseSolver, ChangedTweaksTakeEffectOnTheNextFrame)
{
    Calibrate();
    slot.actor.tweaks[TweakLeftKneeX] = 15;
    slot.actor.tweaks[TweakHipsZ] = -20;
    Solve();
    EXPECT_NEAR(pose.channels[9], 15, 1e-4f);
    EXPECT_NEAR(pose.channels[5], -20, 1e-4f);
    slot.actor.tweaks[TweakLeftKneeX] = 0;
    Solve();
    EXPECT_EQ(pose.channels[9], 0.0f);
}

TEST_F(PoseSolver, UnusedChannelsNeverMoveThePose)
{
    Calibrate();
    SkeletonFrame calibration = pose;
    int counts = 3000;
    for (int unused : {0, 37, 38, 39, 40, 47})
        Move(unused, counts += 7919);
    Solve();
    for (int channel = 0; channel < VARNEL_NUM_CHANNELS; channel++)
        EXPECT_EQ(pose.channels[channel], calibration.channels[channel]) << channel;
    EXPECT_EQ(pose.contacts, calibration.contacts);
}

TEST_F(PoseSolver, OneCountFlickerIsHeldInTheSlotsReadings)
{
    Calibrate();
    Move(25, 1); // LeftHip X, a -g channel
    Solve();
    EXPECT_EQ(ChannelOf(slot.raw, 25), ChannelOf(slot.solver.nullRaw, 25));
    EXPECT_EQ(pose.channels[6], 0.0f);
    Move(25, 2);
    Solve();
    EXPECT_EQ(ChannelOf(slot.raw, 25), ChannelOf(slot.solver.nullRaw, 25) + 2);
    EXPECT_NEAR(pose.channels[6], -2 * 0.001406149f * RadiansToDegrees, 1e-5f);
}

TEST_F(PoseSolver, CounterIsTheWrappedDifference)
{
    counter = 4000000000u;
    Calibrate();
    counter = 5;
    Solve();
    EXPECT_EQ(uint32_t(pose.counter), 5u - 4000000000u);
}

TEST_F(PoseSolver, PositionSensorMovesTheHipsHorizontally)
{
    slot.flags = SUIT_HAS_POSITION_SENSOR;
    slot.positionSensorEnabled.store(1);
    slot.actor.tweaks[TweakPositionX] = 2;
    slot.actor.tweaks[TweakPositionY] = 3;
    slot.actor.tweaks[TweakPositionZ] = 4;
    slot.actor.scales[ScalePositionX] = 0;
    slot.actor.scales[ScalePositionY] = 0.5f;
    Calibrate();
    EXPECT_VECTOR_NEAR(Hips(), Vector(0, 1.5f, 40.5f), 1e-5f);

    readings.position[0] += 1;
    readings.position[1] -= 0.5f;
    readings.position[2] += 2;
    Solve();
    // x is scaled away; y follows the sensor; z still stands on the floor.
    EXPECT_EQ(pose.channels[0], 0.0f);
    EXPECT_NEAR(pose.channels[1], (3 - 0.5f * MetersToInches) * 0.5f, 1e-4f);
    EXPECT_NEAR(pose.channels[2], 40.5f, 1e-5f);
}

TEST_F(PoseSolver, RollingOverAndBackReturnsTheHips)
{
    Calibrate();
    Orient(5 - 10, -7, 100);
    Solve();
    EXPECT_EQ(pose.contacts, uint32_t(ContactRightFootHeel));
    Orient(5, -7, 100);
    Solve();
    EXPECT_VECTOR_NEAR(Hips(), Vector(0, 0, 36.5f), 0.001f);
}

TEST_F(PoseSolver, UncalibratedSuitIsCalibratedOnItsReading)
{
    ASSERT_EQ(slot.nullSet.load(), 0);
    Solve();
    EXPECT_EQ(slot.nullSet.load(), 1);
    EXPECT_EQ(pose.counter, 0);
    EXPECT_EQ(pose.contacts, uint32_t(ContactLeftFootHeel));
    EXPECT_VECTOR_NEAR(Hips(), Vector(0, 0, 36.5f), 1e-5f);
}

} // namespace
