// Rotations as the suit's potentiometer chains build them, taken apart into
// their angles. The simulator needs the inverse of every order the suit
// uses; each function returns the angles (radians) whose product, in the
// order of the name, is the rotation. The middle angle lies in [-pi/2, pi/2];
// at gimbal lock the last angle is 0.
#pragma once

#include "varnel.h"

// Half a turn in radians, for the simulator's sums in double precision.
constexpr double Pi = 3.141592653589793;

struct AngleTriple {
    float first, second, third;
};

// rotation == RotX(first) * RotY(second) * RotZ(third)
AngleTriple DecomposeXYZ(const Matrix& rotation);
// rotation == RotZ(first) * RotY(second) * RotX(third)
AngleTriple DecomposeZYX(const Matrix& rotation);
// rotation == RotZ(first) * RotX(second) * RotY(third)
AngleTriple DecomposeZXY(const Matrix& rotation);
// rotation == RotY(first) * RotX(second) * RotZ(third)
AngleTriple DecomposeYXZ(const Matrix& rotation);

// A joint's rotation from its frame channels X, Y, Z (degrees).
Matrix JointRotationFromChannels(const float* channelsXYZ);
// A joint's frame channels X, Y, Z (degrees) from its rotation.
void JointChannelsFromRotation(const Matrix& rotation, float* channelsXYZ);

// The angle of rotation a^T * b in radians: how far apart two rotations are.
float RotationDistance(const Matrix& a, const Matrix& b);
