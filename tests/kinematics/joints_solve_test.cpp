#include "common/units.h"
#include "kinematics/joint_solve.h"
#include "solver_test_actor.h"
#include "tests/support/vector_matchers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {

constexpr float HalfRadianInDegrees = 28.64789f;
constexpr double Pi = 3.14159265358979;

struct JointFrame {
    float angles[RawChannelCount] = {};
    SkeletonFrame pose = {};

    const SkeletonFrame& Solve(const ActorData& actor)
    {
        TweakRotations tweaks;
        UpdateTweakRotations(tweaks, actor);
        SolveJoints(actor, tweaks, angles, pose);
        return pose;
    }
};

// The rotation a joint's channels X, Y, Z stand for.
Matrix JointRotation(const SkeletonFrame& pose, int firstChannel)
{
    const float* c = pose.channels + firstChannel;
    return Matrix::RotYXZ(c[1] * DegreesToRadians, c[0] * DegreesToRadians,
                          c[2] * DegreesToRadians);
}

void ExpectJointChannelsZeroExcept(const SkeletonFrame& pose, std::vector<int> moved,
                                   float movedValue, int reading)
{
    for (int channel = 6; channel < VARNEL_NUM_CHANNELS; channel++) {
        bool expectMoved = false;
        for (int m : moved)
            expectMoved = expectMoved || m == channel;
        EXPECT_NEAR(pose.channels[channel], expectMoved ? movedValue : 0.0f, 1e-4f)
            << "channel " << channel << " after a reading on " << reading;
    }
}

TEST(JointSolve, NullPoseWithoutTweaksIsAllZero)
{
    JointFrame frame;
    ExpectJointChannelsZeroExcept(frame.Solve(StandardActor()), {}, 0.0f, -1);
}

// Each reading of half a radian, with no displacements and unit scales, moves
// exactly the joint axes it measures.
TEST(JointSolve, EachReadingDrivesItsJointAxes)
{
    struct Route {
        int reading;
        std::vector<int> channels;
    };
    const Route routes[] = {
        {25, {6}},     {26, {7}},     {29, {8}},                          // left hip
        {30, {9}},     {46, {13}},    {34, {14}}, {35, {13}}, {36, {12}}, // left knee, ankle
        {23, {15}},    {24, {16}},    {27, {17}},                         // right hip
        {28, {18}},    {45, {22}},    {31, {23}}, {32, {22}}, {33, {21}}, // right knee, ankle
        {9, {30}},     {8, {31}},     {12, {32}}, {13, {33}},             // left arm
        {42, {37}},    {17, {38}},    {18, {37}}, {19, {36}},             // left wrist
        {7, {42}},     {6, {43}},     {10, {44}}, {11, {45}},             // right arm
        {44, {49}},    {14, {50}},    {15, {49}}, {16, {48}},             // right wrist
        {22, {25}},    {21, {24}},    {20, {26}},                         // chest
        {5, {27, 39}}, {4, {28, 40}},                                     // both collars
        {43, {54}},    {41, {55}},    {3, {56}},  {2, {54}},  {1, {55}},  // head
        {0, {}},       {37, {}},      {38, {}},   {39, {}},   {40, {}},   {47, {}}};
    ActorData actor = WithoutDisplacements(UnitScaleActor());
    for (const Route& route : routes) {
        JointFrame frame;
        frame.angles[route.reading] = 0.5f;
        ExpectJointChannelsZeroExcept(frame.Solve(actor), route.channels, HalfRadianInDegrees,
                                      route.reading);
    }
}

TEST(JointSolve, NullPoseGivesTheTweaks)
{
    ActorData actor = StandardActor();
    actor.tweaks[TweakLeftHipX] = 10;
    actor.tweaks[TweakLeftHipY] = -170;
    actor.tweaks[TweakLeftHipZ] = 85;
    actor.tweaks[TweakRightWristY] = 30;
    actor.tweaks[TweakHeadZ] = -5;
    JointFrame frame;
    const SkeletonFrame& pose = frame.Solve(actor);
    EXPECT_NEAR(pose.channels[6], 10, 1e-3f);
    EXPECT_NEAR(pose.channels[7], -170, 1e-3f);
    EXPECT_NEAR(pose.channels[8], 85, 1e-3f);
    EXPECT_NEAR(pose.channels[49], 30, 1e-3f);
    EXPECT_NEAR(pose.channels[56], -5, 1e-3f);
}

TEST(JointSolve, HeadUndoesTheNeckTweak)
{
    ActorData actor = StandardActor();
    actor.tweaks[TweakNeckX] = 20;
    actor.tweaks[TweakNeckY] = 12;
    JointFrame frame;
    const SkeletonFrame& pose = frame.Solve(actor);
    EXPECT_NEAR(pose.channels[51], 20, 1e-3f);
    EXPECT_NEAR(pose.channels[52], 12, 1e-3f);
    // Head = RotX(-20 deg) * RotY(-12 deg): the neck's turn taken back in reverse order.
    constexpr float d = DegreesToRadians;
    EXPECT_MATRIX_NEAR(JointRotation(pose, 54), Matrix::RotX(-20 * d) * Matrix::RotY(-12 * d),
                       1e-5f);
}

TEST(JointSolve, KneeScaleMultipliesReadingAndCorrection)
{
    ActorData actor = UnitScaleActor();
    JointFrame frame;
    frame.angles[30] = 0.3f;
    frame.angles[34] = 0.4f; // gives the knee a displacement correction
    float unscaled = frame.Solve(actor).channels[9];
    float correctionFree = 0.3f * RadiansToDegrees;
    ASSERT_GT(std::fabs(unscaled - correctionFree), 1.0f);

    actor.scales[ScaleLeftKneeX] = 2;
    EXPECT_NEAR(frame.Solve(actor).channels[9], 2 * unscaled, 1e-3f);
}

TEST(JointSolve, AnkleScaleActsOnTheLastPotentiometerOnly)
{
    ActorData actor = UnitScaleActor();
    actor.scales[ScaleLeftAnkleX] = 2;
    JointFrame scaled;
    scaled.angles[36] = 0.2f;
    scaled.angles[46] = 0.3f;
    scaled.angles[34] = -0.1f;
    scaled.angles[35] = 0.25f;
    JointFrame doubledReading = scaled;
    doubledReading.angles[36] = 0.4f;

    const SkeletonFrame& expected = doubledReading.Solve(UnitScaleActor());
    const SkeletonFrame& actual = scaled.Solve(actor);
    for (int channel = 9; channel < 15; channel++)
        EXPECT_NEAR(actual.channels[channel], expected.channels[channel], 1e-4f) << channel;
}

TEST(JointSolve, WithoutDisplacementsThereAreNoCorrections)
{
    ActorData actor = WithoutDisplacements(UnitScaleActor());
    JointFrame frame;
    for (int i = 0; i < RawChannelCount; i++)
        frame.angles[i] = 0.05f * static_cast<float>(i % 7) - 0.1f;
    frame.angles[30] = 0.3f;
    frame.angles[28] = -0.2f;
    frame.angles[13] = 0.7f;
    frame.angles[11] = 0.6f;
    const SkeletonFrame& pose = frame.Solve(actor);
    // Knees and elbows carry their reading alone.
    EXPECT_NEAR(pose.channels[9], 0.3f * RadiansToDegrees, 1e-3f);
    EXPECT_NEAR(pose.channels[18], -0.2f * RadiansToDegrees, 1e-3f);
    EXPECT_NEAR(pose.channels[33], 0.7f * RadiansToDegrees, 1e-3f);
    EXPECT_NEAR(pose.channels[45], 0.6f * RadiansToDegrees, 1e-3f);
    // The neck is driven by the displacement only.
    for (int channel = 51; channel < 54; channel++)
        EXPECT_NEAR(pose.channels[channel], 0, 1e-5f);
}

TEST(JointSolve, NeckFollowsItsPotentiometersThroughTheDisplacement)
{
    const ActorData actor = StandardActor(); // neck displacement (0, 4, 3), bone 6.5
    const double a = 0.3;

    JointFrame nod;
    nod.angles[43] = static_cast<float>(a);
    const SkeletonFrame& nodPose = nod.Solve(actor);
    double neckX = std::asin((4 - 4 * std::cos(a) + 3 * std::sin(a)) / 6.5);
    EXPECT_NEAR(nodPose.channels[51], neckX * 180 / Pi, 1e-3);
    EXPECT_NEAR(nodPose.channels[52], 0, 1e-4);
    EXPECT_NEAR(nodPose.channels[54], (a - neckX) * 180 / Pi, 1e-3);

    JointFrame tilt;
    tilt.angles[41] = static_cast<float>(a);
    const SkeletonFrame& tiltPose = tilt.Solve(actor);
    double neckY = std::asin(3 * std::sin(a) / 6.5);
    EXPECT_NEAR(tiltPose.channels[51], 0, 1e-4);
    EXPECT_NEAR(tiltPose.channels[52], neckY * 180 / Pi, 1e-3);
    EXPECT_NEAR(tiltPose.channels[55], (a - neckY) * 180 / Pi, 1e-3);
}

TEST(JointSolve, ZeroBoneLengthGivesQuarterTurnCorrections)
{
    constexpr float quarter = 1.5707964f;
    ActorData actor = UnitScaleActor();
    actor.bones[BoneLeftLowerLeg] = 0;

    JointFrame positive;
    positive.angles[34] = -0.5f;
    EXPECT_MATRIX_NEAR(JointRotation(positive.Solve(actor), 9), Matrix::RotX(quarter), 1e-5f);

    JointFrame negative;
    negative.angles[34] = 0.5f;
    EXPECT_MATRIX_NEAR(JointRotation(negative.Solve(actor), 9), Matrix::RotX(-quarter), 1e-5f);

    // 0 / 0 is not a number and takes the negative quarter turn.
    JointFrame still;
    const SkeletonFrame& pose = still.Solve(actor);
    EXPECT_MATRIX_NEAR(JointRotation(pose, 9), Matrix::RotX(-quarter), 1e-5f);
    EXPECT_MATRIX_NEAR(JointRotation(pose, 12), Matrix::RotX(quarter), 1e-5f);
    for (float channel : pose.channels)
        EXPECT_FALSE(std::isnan(channel));
}

TEST(JointSolve, ZeroNeckBoneKeepsTheNeckFinite)
{
    ActorData actor = StandardActor();
    actor.bones[BoneNeck] = 0;
    JointFrame frame;
    frame.angles[43] = 0.3f;
    const SkeletonFrame& pose = frame.Solve(actor);
    // (w.y + dy) / 0 is +infinity: the neck bends a quarter turn and c = 0 stops its Y angle.
    EXPECT_MATRIX_NEAR(JointRotation(pose, 51), Matrix::RotX(1.5707964f), 1e-5f);
    for (float channel : pose.channels)
        EXPECT_FALSE(std::isnan(channel));
}

} // namespace
