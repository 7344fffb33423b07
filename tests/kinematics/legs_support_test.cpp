#include "kinematics/leg_skeleton.h"
#include "kinematics/support_step.h"
#include "solver_test_actor.h"
#include "tests/support/vector_matchers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

FloorGeometry Plane(float dzdx, float dzdy, float z0)
{
    return FloorGeometry{dzdx, dzdy, z0, 0, 0, 0, 0};
}

class SupportStep : public testing::Test {
  protected:
    LegSkeleton legs;
    float channels[VARNEL_NUM_CHANNELS] = {};
    Vector feet[FootPointCount];
    SupportState state = {};

    void SetUp() override
    {
        VarnelSetFloor(Plane(0, 0, 0));
        BuildLegSkeleton(legs, StandardActor());
    }
    void TearDown() override { VarnelSetFloor(Plane(0, 0, 0)); }

    void Solve(SupportMode mode, Vector sensorTravel = Vector(0, 0, 0))
    {
        PoseFootPoints(legs, channels, feet);
        StepSupport(feet, mode, sensorTravel, state);
    }
    Vector World(int point) const { return state.rootOffset + feet[point]; }
};

TEST_F(SupportStep, CalibrationStandsTheLowestPointOnTheFloor)
{
    state.supportIndex = FootRightBall; // whatever an earlier calibration left
    state.rootOffset = Vector(40, -3, 2);
    Solve(SupportMode::Calibration);
    // All four points tie on a level floor: the smallest index wins.
    EXPECT_EQ(state.supportIndex, FootLeftHeel);
    EXPECT_VECTOR_NEAR(state.rootOffset, Vector(0, 0, 36.5f), 1e-5f);
    for (int k = 0; k < FootPointCount; k++)
        EXPECT_VECTOR_NEAR(state.previousContacts[k], feet[k], 0);

    VarnelSetFloor(Plane(-0.05f, -0.02f, 1));
    Solve(SupportMode::Calibration);
    // The floor rises towards -x and -y: the right ball is nearest to it.
    EXPECT_EQ(state.supportIndex, FootRightBall);
    EXPECT_NEAR(World(FootRightBall).z, VarnelFloorHeight(-5, -4), 1e-5f);
    EXPECT_EQ(state.rootOffset.x, 0);
    EXPECT_EQ(state.rootOffset.y, 0);
}

TEST_F(SupportStep, StandingStillKeepsTheBodyWhereItIs)
{
    VarnelSetFloor(Plane(0.03f, -0.01f, 2));
    channels[18] = 40; // right knee bent: the left leg carries
    channels[5] = 15;
    Solve(SupportMode::Calibration);
    SupportState calibrated = state;
    for (int frame = 0; frame < 3; frame++) {
        Solve(SupportMode::Legs);
        EXPECT_EQ(state.supportIndex, calibrated.supportIndex);
        EXPECT_VECTOR_NEAR(state.rootOffset, calibrated.rootOffset, 0);
    }
}

TEST_F(SupportStep, TurningOnTheSupportPointKeepsItInPlace)
{
    channels[18] = 30; // lift the right foot
    Solve(SupportMode::Calibration);
    ASSERT_EQ(state.supportIndex, FootLeftHeel);
    Vector heel = World(FootLeftHeel);
    channels[5] = 30; // turn the body about the vertical axis
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, FootLeftHeel);
    EXPECT_VECTOR_NEAR(World(FootLeftHeel), heel, 1e-5f);
}

TEST_F(SupportStep, TiesKeepTheCurrentSupport)
{
    Solve(SupportMode::Calibration);
    state.supportIndex = FootLeftBall;
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, FootLeftBall);

    channels[12] = 5; // left ankle: the ball goes down, the heel up
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, FootLeftBall);
    channels[12] = -5; // now the heel is lowest
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, FootLeftHeel);
}

// Rolling the body to its right lands it on the right heel at once, and
// rolling back keeps that heel planted: the body comes back where it was.
TEST_F(SupportStep, RollingOverAndBackReturnsTheHips)
{
    Solve(SupportMode::Calibration);
    Vector start = state.rootOffset;
    Vector rightHeel = World(FootRightHeel);
    channels[4] = -10; // Hips Y: left side up
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, FootRightHeel);
    EXPECT_VECTOR_NEAR(World(FootRightHeel), rightHeel, 1e-4f);
    channels[4] = 0;
    Solve(SupportMode::Legs);
    EXPECT_VECTOR_NEAR(state.rootOffset, start, 0.001f);
}

// On a slope the new point takes over where its path through the frame meets
// the plane: it ends the frame planted at that crossing.
TEST_F(SupportStep, HandOverOnASlopeHappensWhereThePathMeetsThePlane)
{
    const double dzdx = 0.05, dzdy = 0.02, z0 = -0.7;
    VarnelSetFloor(Plane(float(dzdx), float(dzdy), float(z0)));
    Solve(SupportMode::Calibration);
    ASSERT_EQ(state.supportIndex, FootLeftHeel);
    SupportState before = state;
    Vector leftHeelBefore = World(FootLeftHeel);

    channels[4] = -10;
    Solve(SupportMode::Legs);
    ASSERT_EQ(state.supportIndex, FootRightHeel);

    // The right heel's path with the left heel held: from where it stood,
    // moving with the body's turn about the left heel.
    auto rightHeelHeldAt = [&](double t) {
        Vector p = before.previousContacts[FootRightHeel], q = feet[FootRightHeel];
        Vector a = before.previousContacts[FootLeftHeel], b = feet[FootLeftHeel];
        double x = leftHeelBefore.x + (p.x - a.x) + t * ((q.x - p.x) - (b.x - a.x));
        double y = leftHeelBefore.y + (p.y - a.y) + t * ((q.y - p.y) - (b.y - a.y));
        double z = leftHeelBefore.z + (p.z - a.z) + t * ((q.z - p.z) - (b.z - a.z));
        return std::array<double, 3>{x, y, z};
    };
    auto aboveFloor = [&](double t) {
        auto p = rightHeelHeldAt(t);
        return p[2] - (dzdx * p[0] + dzdy * p[1] + z0);
    };
    double t = aboveFloor(0) / (aboveFloor(0) - aboveFloor(1)); // linear in t
    ASSERT_GT(t, 0.05);
    ASSERT_LT(t, 0.95);
    auto crossing = rightHeelHeldAt(t);
    EXPECT_VECTOR_NEAR(World(FootRightHeel),
                       Vector(float(crossing[0]), float(crossing[1]), float(crossing[2])), 1e-4f);
}

TEST_F(SupportStep, ParallelPathKeepsTheCarriedOffset)
{
    // A state whose right heel already stands lower than the support: the
    // hand-over path is empty (den = 0), so the body is only lowered onto it.
    for (int k = 0; k < FootPointCount; k++)
        feet[k] = Vector(k % 2 ? -5.0f : 5.0f, k < 2 ? 1.5f : -4.0f, -36.5f);
    feet[FootRightHeel].z = -37.5f;
    state.supportIndex = FootLeftHeel;
    for (int k = 0; k < FootPointCount; k++)
        state.previousContacts[k] = feet[k];
    state.rootOffset = Vector(12, 7, 36.5f);
    StepSupport(feet, SupportMode::Legs, Vector(0, 0, 0), state);
    EXPECT_EQ(state.supportIndex, FootRightHeel);
    EXPECT_VECTOR_NEAR(state.rootOffset, Vector(12, 7, 37.5f), 1e-5f);
}

TEST_F(SupportStep, PositionSensorGivesTheHorizontalTravel)
{
    VarnelSetFloor(Plane(0.1f, 0, 0));
    Solve(SupportMode::Calibration);
    Solve(SupportMode::PositionSensor, Vector(20, -8, 55));
    EXPECT_EQ(state.rootOffset.x, 20);
    EXPECT_EQ(state.rootOffset.y, -8);
    int support = state.supportIndex;
    EXPECT_NEAR(World(support).z, VarnelFloorHeight(World(support).x, World(support).y), 1e-5f);
}

TEST_F(SupportStep, FrameThatIsNotANumberLeavesTheTravelAlone)
{
    channels[18] = 30;
    Solve(SupportMode::Calibration);
    channels[5] = 20;
    Solve(SupportMode::Legs);
    SupportState walked = state;

    channels[4] = std::nanf("");
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, walked.supportIndex);
    EXPECT_VECTOR_NEAR(state.rootOffset, walked.rootOffset, 0);

    channels[4] = 0;
    channels[5] = 25;
    Solve(SupportMode::Legs);
    EXPECT_TRUE(std::isfinite(state.rootOffset.x) && std::isfinite(state.rootOffset.z));
    EXPECT_NEAR(World(FootLeftHeel).x, walked.rootOffset.x + walked.previousContacts[0].x, 1e-4f);
}

TEST_F(SupportStep, UncalibratedStateStartsOverTheOrigin)
{
    state.supportIndex = -1;
    state.rootOffset = Vector(1e30f, 1e30f, 1e30f);
    Solve(SupportMode::Legs);
    EXPECT_EQ(state.supportIndex, FootLeftHeel);
    EXPECT_VECTOR_NEAR(state.rootOffset, Vector(0, 0, 36.5f), 1e-5f);
}

TEST(HandOverFraction, FindsTheCrossingWithinTheFrame)
{
    FloorGeometry level = Plane(0, 0, 1);
    EXPECT_NEAR(HandOverFraction(level, Vector(3, 4, 2), Vector(7, 1, -4)), 0.25f, 1e-6f);
    // Crossed before the frame, or not yet at its end: the whole frame.
    EXPECT_EQ(HandOverFraction(level, Vector(0, 0, 0.5f), Vector(0, 0, -4)), 1.0f);
    EXPECT_EQ(HandOverFraction(level, Vector(0, 0, 9), Vector(0, 0, -4)), 1.0f);
    // Moving parallel to the plane never crosses it.
    EXPECT_EQ(HandOverFraction(Plane(0.5f, 0, 0), Vector(0, 0, 3), Vector(2, 0, 1)), 1.0f);
}

TEST(HandOverFraction, StairsQuantiseTheCrossingHeight)
{
    // The plane lies at 3.7, but its stair (step 2.5 from 0) is at 2.5.
    FloorGeometry stairs = {0, 0, 3.7f, 0, 10, 0, 4};
    EXPECT_NEAR(HandOverFraction(stairs, Vector(0, 0, 5), Vector(0, 0, -5)), 0.5f, 1e-6f);
}

TEST(HandOverFraction, PlateauIsMetAtItsLimit)
{
    // The plane lies at -5, clamped up to 0.
    FloorGeometry plateau = {0, 0, -5, 0, 10, 1, 0};
    EXPECT_NEAR(HandOverFraction(plateau, Vector(0, 0, 4), Vector(0, 0, -8)), 0.5f, 1e-6f);
}

} // namespace
