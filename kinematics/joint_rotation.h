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
    return Matrix::RotYXZ(tweak[1] * DegreesToRadians, tweak[0] * DegreesToRadians,
                          tweak[2] * DegreesToRadians);
}

// firstChannel is the joint's X channel; Y and Z follow it.
inline void WriteJointRotation(const Matrix& rotation, float* firstChannel)
{
    float y, x, z;
    rotation.MatrixToEulerYXZ(&y, &x, &z);
    firstChannel[0] = x * RadiansToDegrees;
    firstChannel[1] = y * RadiansToDegrees;
    firstChannel[2] = z * RadiansToDegrees;
}
