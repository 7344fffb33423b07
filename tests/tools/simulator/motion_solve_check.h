// The library's own joint model applied to simulated readings, for checking
// the simulator's inversion without a network: the channel angles and joint
// solve of the kinematics, and the orientation sensor's hips turn, for an
// actor with zero tweaks, unit scales and zero displacements.
#pragma once

#include "actor/default_actor.h"
#include "common/units.h"
#include "kinematics/channel_input.h"
#include "kinematics/joint_solve.h"
#include "kinematics/tweak_rotations.h"
#include "tests/support/suit_datagrams.h"
#include "tools/simulator/pose_readings.h"
#include "tools/simulator/rotation_angles.h"

#include <algorithm>
#include <cstring>
#include <iterator>

inline ActorData PlainActor()
{
    ActorData actor = DefaultActorData();
    std::fill(std::begin(actor.tweaks), std::end(actor.tweaks), 0.0f);
    std::fill(std::begin(actor.scales), std::end(actor.scales), 1.0f);
    std::fill(std::begin(actor.displacements), std::end(actor.displacements), 0.0f);
    return actor;
}

// The rotation channels (3..56) that the library solves from the readings,
// against a calibration on the null pose.
inline SkeletonFrame SolveReadings(const SuitReadings& readings)
{
    SuitReadings rest;
    NullPoseReadings(rest);
    float channelAngle[RawChannelCount];
    ComputeChannelAngles(MakeRawBlock(readings).data(), MakeRawBlock(rest).data(), channelAngle);

    ActorData actor = PlainActor();
    TweakRotations tweaks;
    UpdateTweakRotations(tweaks, actor);
    SkeletonFrame pose;
    std::memset(&pose, 0, sizeof pose);
    SolveJoints(actor, tweaks, channelAngle, pose);
    Matrix hips = Matrix::RotZXY(readings.orientation[2] * DegreesToRadians,
                                 readings.orientation[1] * DegreesToRadians,
                                 readings.orientation[0] * DegreesToRadians);
    JointChannelsFromRotation(hips, pose.channels + HipsChannel);
    return pose;
}

inline Matrix JointOf(const SkeletonFrame& pose, int node)
{
    static const int firstChannel[VARNEL_NUM_JOINTS] = {
        HipsChannel,       LeftHipChannel,     RightHipChannel,      ChestChannel,
        LeftCollarChannel, RightCollarChannel, NeckChannel,          LeftKneeChannel,
        LeftAnkleChannel,  RightKneeChannel,   RightAnkleChannel,    LeftShoulderChannel,
        LeftElbowChannel,  LeftWristChannel,   RightShoulderChannel, RightElbowChannel,
        RightWristChannel, HeadChannel};
    return JointRotationFromChannels(pose.channels + firstChannel[node]);
}

inline float DistanceDegrees(const Matrix& a, const Matrix& b)
{
    return RotationDistance(a, b) * RadiansToDegrees;
}

// How far apart two poses are: the largest angle between their joints.
inline float LargestJointDistance(const SkeletonFrame& a, const SkeletonFrame& b)
{
    float largest = 0.0f;
    for (int joint = 0; joint < VARNEL_NUM_JOINTS; joint++)
        largest = std::max(largest, DistanceDegrees(JointOf(a, joint), JointOf(b, joint)));
    return largest;
}
