// Angle units of the solver, and writing a joint's rotation into its channels.
#pragma once

#include "common/units.h"
#include "varnel.h"

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
