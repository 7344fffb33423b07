// The library's own joint model applied to simulated readings, for checking
// the simulator's inversion without a network: the channel angles and joint
// solve of the kinematics, and the orientation sensor's hips turn, for an
// actor with zero tweaks, unit scales and zero displacements.
#pragma once

#include "actor/default_actor.h"
#include "common/suit_datagram.h"
#include "kinematics/channel_input.h"
#include "kinematics/joint_solve.h"
#include "kinematics/tweak_rotations.h"
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

inline void PutChannels(uint8_t* block, const uint16_t* channels)
{
    for (int i = 0; i < SuitChannelCount; i++) {
        block[RawChannelsOffset + 2 * i] = uint8_t(channels[i]);
        block[RawChannelsOffset + 2 * i + 1] = uint8_t(channels[i] >> 8);
    }
}

// The rotation channels (3..56) that the library solves from the readings,
// against a calibration on the null pose.
inline SkeletonFrame SolveReadings(const SuitReadings& readings)
{
    SuitReadings rest;
    NullPoseReadings(rest);
    uint8_t source[SuitRawSize] = {}, nullRaw[SuitRawSize] = {};
    PutChannels(source, readings.channels);
    PutChannels(nullRaw, rest.channels);
    float channelAngle[RawChannelCount];
    ComputeChannelAngles(source, nullRaw, channelAngle);

    ActorData actor = PlainActor();
    TweakRotations tweaks;
    UpdateTweakRotations(tweaks, actor);
    SkeletonFrame pose;
    std::memset(&pose, 0, sizeof pose);
    SolveJoints(actor, tweaks, channelAngle, pose);
    const float toRadians = 0.017453292f;
    Matrix hips =
        Matrix::RotZXY(readings.orientation[2] * toRadians, readings.orientation[1] * toRadians,
                       readings.orientation[0] * toRadians);
    JointChannelsFromRotation(hips, pose.channels + 3);
    return pose;
}

inline Matrix JointOf(const SkeletonFrame& pose, int node)
{
    static const int firstChannel[VARNEL_NUM_JOINTS] = {3,  6,  15, 24, 27, 39, 51, 9,  12,
                                                        18, 21, 30, 33, 36, 42, 45, 48, 54};
    return JointRotationFromChannels(pose.channels + firstChannel[node]);
}

inline float DistanceDegrees(const Matrix& a, const Matrix& b)
{
    return RotationDistance(a, b) * 57.29578f;
}
