// The suit's kinematic model below the hips: 48 potentiometer angles become
// the rotations of the 17 joints other than the hips.
#pragma once

#include "kinematics/tweak_rotations.h"
#include "varnel.h"

constexpr int RawChannelCount = VARNEL_NUM_RAW_CHANNELS;

// Writes channels 6..56 of pose from channelAngle (radians, relative to the
// calibration), the actor's scales, displacements and bones, and its tweak
// rotations (built from the same actor).
void SolveJoints(const ActorData& actor, const TweakRotations& tweaks,
                 const float channelAngle[RawChannelCount], SkeletonFrame& pose);

// asin's argument bounded to [-1, 1]; a quotient that is not a number gives
// -1, so a zero bone length still yields a finite angle.
inline float ClampUnit(float q)
{
    if (q > 1.0f)
        return 1.0f;
    if (q >= -1.0f)
        return q;
    return -1.0f;
}
