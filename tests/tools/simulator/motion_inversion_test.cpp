#include "common/channel_gains.h"
#include "common/units.h"
#include "tests/tools/simulator/motion_solve_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
constexpr float OneCountDegrees = RadiansPerCount * RadiansToDegrees;

class RandomPoses {
  public:
    float Uniform(float low, float high)
    {
        return std::uniform_real_distribution<float>(low, high)(engine);
    }
    float Degrees(float low, float high) { return Uniform(low, high) * DegreesToRadians; }
    void Set(SkeletonFrame& pose, int firstChannel, const Matrix& rotation)
    {
        float y, x, z;
        rotation.MatrixToEulerYXZ(&y, &x, &z);
        pose.channels[firstChannel] = x * RadiansToDegrees;
        pose.channels[firstChannel + 1] = y * RadiansToDegrees;
        pose.channels[firstChannel + 2] = z * RadiansToDegrees;
    }

    // Every joint turned within what a body and the suit allow.
    SkeletonFrame Next()
    {
        SkeletonFrame pose{};
        pose.channels[0] = Uniform(-3000, 3000);
        pose.channels[1] = Uniform(-3000, 3000);
        pose.channels[2] = 36.5f;
        Set(pose, HipsChannel,
            Matrix::RotZ(Degrees(-180, 180)) * Matrix::RotX(Degrees(-60, 60)) *
                Matrix::RotY(Degrees(-60, 60)));
        for (int hip : {LeftHipChannel, RightHipChannel})
            Set(pose, hip,
                Matrix::RotX(Degrees(-110, 40)) * Matrix::RotY(Degrees(-40, 40)) *
                    Matrix::RotZ(Degrees(-50, 50)));
        for (int knee : {LeftKneeChannel, RightKneeChannel})
            Set(pose, knee, Matrix::RotX(Degrees(0, 150)));
        for (int ankle : {LeftAnkleChannel, RightAnkleChannel})
            Set(pose, ankle,
                Matrix::RotZ(Degrees(-30, 30)) * Matrix::RotY(Degrees(-30, 30)) *
                    Matrix::RotX(Degrees(-50, 50)));
        Set(pose, ChestChannel,
            Matrix::RotY(Degrees(-30, 30)) * Matrix::RotX(Degrees(-45, 45)) *
                Matrix::RotZ(Degrees(-45, 45)));
        for (int collar : {LeftCollarChannel, RightCollarChannel})
            Set(pose, collar, Matrix::RotX(Degrees(-10, 10)) * Matrix::RotY(Degrees(-10, 10)));
        for (int shoulder : {LeftShoulderChannel, RightShoulderChannel})
            Set(pose, shoulder,
                Matrix::RotX(Degrees(-135, 60)) * Matrix::RotY(Degrees(-80, 80)) *
                    Matrix::RotZ(Degrees(-90, 90)));
        for (int elbow : {LeftElbowChannel, RightElbowChannel})
            Set(pose, elbow, Matrix::RotX(Degrees(-150, 0)));
        for (int wrist : {LeftWristChannel, RightWristChannel})
            Set(pose, wrist,
                Matrix::RotZ(Degrees(-80, 80)) * Matrix::RotY(Degrees(-30, 30)) *
                    Matrix::RotX(Degrees(-70, 70)));
        Set(pose, NeckChannel, Matrix::RotY(Degrees(-30, 30)) * Matrix::RotX(Degrees(-40, 40)));
        Set(pose, HeadChannel,
            Matrix::RotZ(Degrees(-60, 60)) * Matrix::RotX(Degrees(-40, 40)) *
                Matrix::RotY(Degrees(-30, 30)));
        return pose;
    }

  private:
    std::mt19937 engine{20261207};
};

// The joints that the suit measures on their own; the rest are compared
// with the joint above them, as the suit ties them.
const int FreeJoints[] = {NodeHips,       NodeLeftHip,      NodeRightHip,  NodeChest,
                          NodeLeftCollar, NodeLeftKnee,     NodeLeftAnkle, NodeRightKnee,
                          NodeRightAnkle, NodeLeftShoulder, NodeLeftElbow, NodeLeftWrist,
                          NodeRightElbow, NodeRightWrist};

TEST(MotionInversion, RandomPosesComeBackWithinOneCount)
{
    RandomPoses poses;
    for (int trial = 0; trial < 1000; trial++) {
        SkeletonFrame take = poses.Next();
        SuitReadings readings;
        ReadingsFromPose(take, readings);
        SkeletonFrame solved = SolveReadings(readings);
        for (int joint : FreeJoints)
            ASSERT_LT(DistanceDegrees(JointOf(take, joint), JointOf(solved, joint)),
                      OneCountDegrees)
                << "joint " << joint << ", pose " << trial;
        // Both collars follow the left one; the right arm keeps its turn
        // relative to the chest.
        EXPECT_LT(
            DistanceDegrees(JointOf(solved, NodeLeftCollar), JointOf(solved, NodeRightCollar)),
            1e-3f);
        EXPECT_LT(
            DistanceDegrees(JointOf(take, NodeRightCollar) * JointOf(take, NodeRightShoulder),
                            JointOf(solved, NodeRightCollar) * JointOf(solved, NodeRightShoulder)),
            OneCountDegrees)
            << "pose " << trial;
        // The neck is not measured: the head carries its turn.
        EXPECT_LT(DistanceDegrees(JointOf(take, NodeNeck) * JointOf(take, NodeHead),
                                  JointOf(solved, NodeNeck) * JointOf(solved, NodeHead)),
                  OneCountDegrees)
            << "pose " << trial;
    }
}

TEST(MotionInversion, HingeTwistAndCollarTurnMoveToTheJointBelow)
{
    SkeletonFrame take{};
    take.channels[9] = 40.0f; // left knee: bent, twisted and tilted
    take.channels[10] = 10.0f;
    take.channels[11] = 5.0f;
    take.channels[12] = -15.0f; // left ankle
    take.channels[27] = 8.0f;   // left collar with a Z turn the suit cannot see
    take.channels[29] = 12.0f;
    take.channels[30] = -30.0f; // left shoulder
    SuitReadings readings;
    ReadingsFromPose(take, readings);
    SkeletonFrame solved = SolveReadings(readings);

    // The knee keeps (about) its bend and hands the twist and tilt on.
    EXPECT_NEAR(solved.channels[9], 40.0f, 0.5f);
    EXPECT_NEAR(solved.channels[10], 0.0f, 1e-3f);
    EXPECT_NEAR(solved.channels[11], 0.0f, 1e-3f);
    EXPECT_LT(DistanceDegrees(JointOf(take, NodeLeftKnee) * JointOf(take, NodeLeftAnkle),
                              JointOf(solved, NodeLeftKnee) * JointOf(solved, NodeLeftAnkle)),
              OneCountDegrees);
    EXPECT_LT(DistanceDegrees(JointOf(take, NodeLeftCollar) * JointOf(take, NodeLeftShoulder),
                              JointOf(solved, NodeLeftCollar) * JointOf(solved, NodeLeftShoulder)),
              OneCountDegrees);
}

TEST(MotionInversion, HingeAnglesAreTakenAsTheTurnTheyMean)
{
    // Gimbal lock makes BVH writers give -90 degrees as 270, and a bend past
    // 90 degrees may come as X = 180 - bend with Y and Z half turns.
    SkeletonFrame take{};
    take.channels[33] = 270.0f;
    take.channels[18] = 60.0f;
    take.channels[19] = 180.0f;
    take.channels[20] = -180.0f;
    SuitReadings readings;
    ReadingsFromPose(take, readings);
    SkeletonFrame solved = SolveReadings(readings);
    EXPECT_LT(
        DistanceDegrees(JointOf(solved, NodeLeftElbow), Matrix::RotX(-90.0f * DegreesToRadians)),
        OneCountDegrees);
    EXPECT_LT(
        DistanceDegrees(JointOf(solved, NodeRightKnee), Matrix::RotX(120.0f * DegreesToRadians)),
        OneCountDegrees);
    EXPECT_LT(DistanceDegrees(JointOf(solved, NodeRightAnkle), Matrix::Identity), 0.01f);
}

TEST(MotionInversion, ReadingsStayWithinTheConverterRange)
{
    SkeletonFrame take{};
    take.channels[9] = 179.0f; // beyond the potentiometer's +-165 degrees
    take.channels[18] = -179.0f;
    SuitReadings readings;
    ReadingsFromPose(take, readings);
    // Channel 30 (left knee) has a positive gain, 28 (right knee) a negative one.
    EXPECT_EQ(readings.channels[30], SuitChannelMaximum);
    EXPECT_EQ(readings.channels[28], SuitChannelMaximum);
}

TEST(MotionInversion, NullPoseAndHipsPosition)
{
    SkeletonFrame take{};
    take.channels[0] = MetersToInches;
    take.channels[1] = -2.0f * MetersToInches;
    take.channels[2] = 36.5f;
    SuitReadings readings;
    ReadingsFromPose(take, readings);
    for (uint16_t counts : readings.channels)
        EXPECT_EQ(counts, RestCount);
    EXPECT_FLOAT_EQ(readings.position[0], 1.0f);
    EXPECT_FLOAT_EQ(readings.position[1], -2.0f);
    EXPECT_NEAR(readings.position[2], 0.9271f, 1e-6f);
    for (float angle : readings.orientation)
        EXPECT_EQ(angle, 0.0f);
}
} // namespace
