// Helpers shared by the joint solve and the hips rotation: the actor's fixed
// tweak rotation of a joint, and writing a rotation into a joint's channels.
#pragma once

#include "varnel.h"

constexpr float DegreesToRadians = 0.017453292f;
constexpr float RadiansToDegrees = 57.29578f;

// tweakX is the joint's Tweak...X index; its Y and Z tweaks follow it.
inline Matrix TweakRotation(const ActorData& actor, int tweakX)
{
    const float* tweak = actor.tweaks + tweakX;
    // Most joints carry no tweak; RotYXZ(0, 0, 0) is exactly the identity.
    if (tweak[0] == 0.0f && tweak[1] == 0.0f && tweak[2] == 0.0f)
        return Matrix::Identity;
    return Matrix::RotYXZ(tweak[1] * DegreesToRadians, tweak[0] * DegreesToRadians,
                          tweak[2] * DegreesToRadians);
}

struct JointAngles {
    float y, x, z; // radians, as MatrixToEulerYXZ gives them
};

// firstChannel is the joint's X channel; Y and Z follow it. Returns the
// angles before their conversion to degrees.
inline JointAngles WriteJointRotation(const Matrix& rotation, float* firstChannel)
{
    JointAngles angles;
    rotation.MatrixToEulerYXZ(&angles.y, &angles.x, &angles.z);
    firstChannel[0] = angles.x * RadiansToDegrees;
    firstChannel[1] = angles.y * RadiansToDegrees;
    firstChannel[2] = angles.z * RadiansToDegrees;
    return angles;
}
