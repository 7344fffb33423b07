// Rotation builders, Euler-angle extraction and the constant vectors.
#include "varnel.h"

#include <cmath>

const Vector VectorZero(0.0f, 0.0f, 0.0f);
const Vector VectorXAxis(1.0f, 0.0f, 0.0f);
const Vector VectorYAxis(0.0f, 1.0f, 0.0f);
const Vector VectorZAxis(0.0f, 0.0f, 1.0f);

const Matrix Matrix::Identity(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f);
const Matrix MatrixIdentity = Matrix::Identity;

namespace {
// Gimbal-lock X (or Y) angles: pi/2 and three quarter turns, as 32-bit floats.
constexpr float QuarterTurn = 1.5707964f;
constexpr float ThreeQuarterTurns = 4.712389f;
constexpr float GimbalThreshold = 0.001f;
} // namespace

Matrix Matrix::RotX(float a)
{
    float c = std::cos(a), s = std::sin(a);
    return Matrix(1.0f, 0.0f, 0.0f, 0.0f, c, -s, 0.0f, s, c);
}

Matrix Matrix::RotY(float a)
{
    float c = std::cos(a), s = std::sin(a);
    return Matrix(c, 0.0f, s, 0.0f, 1.0f, 0.0f, -s, 0.0f, c);
}

Matrix Matrix::RotZ(float a)
{
    float c = std::cos(a), s = std::sin(a);
    return Matrix(c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f);
}

Matrix Matrix::RotYXZ(float y, float x, float z)
{
    float sA = std::sin(y), cA = std::cos(y);
    float sB = std::sin(x), cB = std::cos(x);
    float sC = std::sin(z), cC = std::cos(z);
    return Matrix(cA * cC + sA * sB * sC, sA * sB * cC - cA * sC, sA * cB, //
                  cB * sC, cB * cC, -sB,                                   //
                  cA * sB * sC - sA * cC, cA * sB * cC + sA * sC, cA * cB);
}

Matrix Matrix::RotZXY(float z, float x, float y)
{
    float sA = std::sin(z), cA = std::cos(z);
    float sB = std::sin(x), cB = std::cos(x);
    float sC = std::sin(y), cC = std::cos(y);
    return Matrix(cA * cC - sA * sB * sC, -sA * cB, cA * sC + sA * sB * cC, //
                  sA * cC + cA * sB * sC, cA * cB, sA * sC - cA * sB * cC,  //
                  -cB * sC, sB, cB * cC);
}

Matrix Matrix::RotZYX(float z, float y, float x)
{
    float sA = std::sin(z), cA = std::cos(z);
    float sB = std::sin(y), cB = std::cos(y);
    float sC = std::sin(x), cC = std::cos(x);
    return Matrix(cA * cB, cA * sB * sC - sA * cC, cA * sB * cC + sA * sC, //
                  sA * cB, sA * sB * sC + cA * cC, sA * sB * cC - cA * sC, //
                  -sB, cB * sC, cB * cC);
}

void Matrix::MatrixToEulerYXZ(float* y, float* x, float* z) const
{
    float s = -m[1][2];
    float c = std::sqrt(1.0f - s * s);
    if (m[1][1] < 0.0f)
        c = -c;
    // A NaN c (1 - s*s rounded below zero) fails both tests and lands in the
    // gimbal branch, as a true lock does.
    if (c <= -GimbalThreshold || c >= GimbalThreshold) {
        float k = m[1][1] < 0.0f ? -1.0f : 1.0f;
        *x = std::atan2(s, c);
        *y = std::atan2(k * m[0][2], k * m[2][2]);
        *z = std::atan2(k * m[1][0], k * m[1][1]);
    } else {
        *x = s > 0.0f ? QuarterTurn : ThreeQuarterTurns;
        *y = 0.0f;
        *z = std::atan2(-m[0][1], m[0][0]);
    }
}

void Matrix::MatrixToEulerZYX(float* z, float* y, float* x) const
{
    float s = -m[2][0];
    float c = std::sqrt(1.0f - s * s);
    if (c <= -GimbalThreshold || c >= GimbalThreshold) {
        *y = std::atan2(s, c);
        *x = std::atan2(m[2][1], m[2][2]);
        *z = std::atan2(m[1][0], m[0][0]);
    } else {
        *y = s > 0.0f ? QuarterTurn : ThreeQuarterTurns;
        *x = 0.0f;
        *z = std::atan2(-m[0][1], m[1][1]);
    }
}
