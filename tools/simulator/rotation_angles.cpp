#include "tools/simulator/rotation_angles.h"

#include "common/units.h"

#include <cmath>

namespace {
// Below this cosine of the middle angle the first and last axes line up.
constexpr float GimbalCosine = 1e-6f;

// The middle angle from its sine and the two elements that carry its cosine;
// atan2 keeps it accurate near +-pi/2, where asin loses digits.
float MiddleAngle(float sine, float a, float b)
{
    return std::atan2(sine, std::sqrt(a * a + b * b));
}
} // namespace

AngleTriple DecomposeXYZ(const Matrix& r)
{
    const auto& m = r.m;
    AngleTriple angles;
    angles.second = MiddleAngle(m[0][2], m[0][0], m[0][1]);
    if (std::cos(angles.second) > GimbalCosine) {
        angles.first = std::atan2(-m[1][2], m[2][2]);
        angles.third = std::atan2(-m[0][1], m[0][0]);
    } else {
        angles.first = std::atan2(m[2][1], m[1][1]);
        angles.third = 0.0f;
    }
    return angles;
}

AngleTriple DecomposeZYX(const Matrix& r)
{
    const auto& m = r.m;
    AngleTriple angles;
    angles.second = MiddleAngle(-m[2][0], m[2][1], m[2][2]);
    if (std::cos(angles.second) > GimbalCosine) {
        angles.first = std::atan2(m[1][0], m[0][0]);
        angles.third = std::atan2(m[2][1], m[2][2]);
    } else {
        angles.first = std::atan2(-m[0][1], m[1][1]);
        angles.third = 0.0f;
    }
    return angles;
}

AngleTriple DecomposeZXY(const Matrix& r)
{
    const auto& m = r.m;
    AngleTriple angles;
    angles.second = MiddleAngle(m[2][1], m[2][0], m[2][2]);
    if (std::cos(angles.second) > GimbalCosine) {
        angles.first = std::atan2(-m[0][1], m[1][1]);
        angles.third = std::atan2(-m[2][0], m[2][2]);
    } else {
        angles.first = std::atan2(m[1][0], m[0][0]);
        angles.third = 0.0f;
    }
    return angles;
}

AngleTriple DecomposeYXZ(const Matrix& r)
{
    const auto& m = r.m;
    AngleTriple angles;
    angles.second = MiddleAngle(-m[1][2], m[1][0], m[1][1]);
    if (std::cos(angles.second) > GimbalCosine) {
        angles.first = std::atan2(m[0][2], m[2][2]);
        angles.third = std::atan2(m[1][0], m[1][1]);
    } else {
        angles.first = std::atan2(-m[2][0], m[0][0]);
        angles.third = 0.0f;
    }
    return angles;
}

Matrix JointRotationFromChannels(const float* channelsXYZ)
{
    return Matrix::RotYXZ(channelsXYZ[1] * DegreesToRadians, channelsXYZ[0] * DegreesToRadians,
                          channelsXYZ[2] * DegreesToRadians);
}

void JointChannelsFromRotation(const Matrix& rotation, float* channelsXYZ)
{
    AngleTriple angles = DecomposeYXZ(rotation);
    channelsXYZ[0] = angles.second * RadiansToDegrees;
    channelsXYZ[1] = angles.first * RadiansToDegrees;
    channelsXYZ[2] = angles.third * RadiansToDegrees;
}

float RotationDistance(const Matrix& a, const Matrix& b)
{
    Matrix relative = a.Transpose() * b;
    float trace = relative.m[0][0] + relative.m[1][1] + relative.m[2][2];
    // acos is flat near 0; the sine from the skew part keeps small angles exact.
    Vector skew(relative.m[2][1] - relative.m[1][2], relative.m[0][2] - relative.m[2][0],
                relative.m[1][0] - relative.m[0][1]);
    return std::atan2(0.5f * skew.Length(), 0.5f * (trace - 1.0f));
}
