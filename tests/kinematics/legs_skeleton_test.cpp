#include "kinematics/leg_skeleton.h"
#include "solver_test_actor.h"
#include "tests/support/vector_matchers.h"

#include <gtest/gtest.h>

namespace {

struct PosedFeet {
    LegSkeleton legs;
    float channels[VARNEL_NUM_CHANNELS] = {};
    Vector feet[FootPointCount];

    explicit PosedFeet(const ActorData& actor) { BuildLegSkeleton(legs, actor); }
    void Pose() { PoseFootPoints(legs, channels, feet); }
};

TEST(LegSkeleton, NullPoseFeetHangBelowTheHips)
{
    PosedFeet posed(StandardActor());
    posed.Pose();
    EXPECT_VECTOR_NEAR(posed.feet[FootLeftHeel], Vector(5, 1.5f, -36.5f), 1e-5f);
    EXPECT_VECTOR_NEAR(posed.feet[FootRightHeel], Vector(-5, 1.5f, -36.5f), 1e-5f);
    EXPECT_VECTOR_NEAR(posed.feet[FootLeftBall], Vector(5, -4, -36.5f), 1e-5f);
    EXPECT_VECTOR_NEAR(posed.feet[FootRightBall], Vector(-5, -4, -36.5f), 1e-5f);
}

TEST(LegSkeleton, KneeBendMovesOnlyThatFoot)
{
    PosedFeet posed(StandardActor());
    posed.channels[9] = 90; // LeftKnee X: the shin swings back along +y
    posed.Pose();
    EXPECT_VECTOR_NEAR(posed.feet[FootLeftHeel], Vector(5, 19, -16), 1e-4f);
    EXPECT_VECTOR_NEAR(posed.feet[FootLeftBall], Vector(5, 19, -21.5f), 1e-4f);
    EXPECT_VECTOR_NEAR(posed.feet[FootRightHeel], Vector(-5, 1.5f, -36.5f), 1e-5f);
}

TEST(LegSkeleton, HipsTurnCarriesBothLegs)
{
    PosedFeet posed(StandardActor());
    posed.channels[5] = 90; // Hips Z
    posed.Pose();
    EXPECT_VECTOR_NEAR(posed.feet[FootLeftHeel], Vector(-1.5f, 5, -36.5f), 1e-4f);
    EXPECT_VECTOR_NEAR(posed.feet[FootRightBall], Vector(4, -5, -36.5f), 1e-4f);
}

TEST(LegSkeleton, RebuildingReplacesTheOldLegs)
{
    PosedFeet posed(StandardActor());
    ActorData tall = StandardActor();
    tall.bones[BoneRightUpperLeg] = 20;
    BuildLegSkeleton(posed.legs, tall);
    EXPECT_EQ(posed.legs.nodes[NodeHips].numChildren, 2);
    EXPECT_EQ(posed.legs.nodes[NodeChest].numChildren, 0);
    posed.Pose();
    EXPECT_VECTOR_NEAR(posed.feet[FootRightHeel], Vector(-5, 1.5f, -39), 1e-5f);
    EXPECT_VECTOR_NEAR(posed.feet[FootLeftHeel], Vector(5, 1.5f, -36.5f), 1e-5f);
}

} // namespace
