#include "tests/support/vector_matchers.h"
#include "varnel.h"

#include <gtest/gtest.h>

namespace {
constexpr float Pi = 3.14159265f;
constexpr float Tolerance = 2e-6f;

TEST(RotationBuilders, TurnAxesTheRightWay)
{
    const float a = 0.7f;
    // Positive angles turn +Y towards +Z about X, and +X towards +Y about Z.
    EXPECT_VECTOR_NEAR(Matrix::RotX(a) * VectorYAxis, Vector(0, std::cos(a), std::sin(a)),
                       Tolerance);
    EXPECT_VECTOR_NEAR(Matrix::RotZ(a) * VectorXAxis, Vector(std::cos(a), std::sin(a), 0),
                       Tolerance);
    EXPECT_VECTOR_NEAR(Matrix::RotY(a) * VectorZAxis, Vector(std::sin(a), 0, std::cos(a)),
                       Tolerance);
}

TEST(RotationBuilders, ClosedFormsEqualTheProducts)
{
    const float a = 0.3f, b = -1.1f, c = 2.4f;
    EXPECT_MATRIX_NEAR(Matrix::RotYXZ(a, b, c), Matrix::RotY(a) * Matrix::RotX(b) * Matrix::RotZ(c),
                       Tolerance);
    EXPECT_MATRIX_NEAR(Matrix::RotZXY(a, b, c), Matrix::RotZ(a) * Matrix::RotX(b) * Matrix::RotY(c),
                       Tolerance);
    EXPECT_MATRIX_NEAR(Matrix::RotZYX(a, b, c), Matrix::RotZ(a) * Matrix::RotY(b) * Matrix::RotX(c),
                       Tolerance);
}

TEST(EulerExtraction, RoundTripsRegularAngles)
{
    float y, x, z;
    Matrix::RotYXZ(0.3f, 0.2f, -0.4f).MatrixToEulerYXZ(&y, &x, &z);
    EXPECT_NEAR(y, 0.3f, Tolerance);
    EXPECT_NEAR(x, 0.2f, Tolerance);
    EXPECT_NEAR(z, -0.4f, Tolerance);

    Matrix::RotZYX(0.3f, 0.2f, -0.4f).MatrixToEulerZYX(&z, &y, &x);
    EXPECT_NEAR(z, 0.3f, Tolerance);
    EXPECT_NEAR(y, 0.2f, Tolerance);
    EXPECT_NEAR(x, -0.4f, Tolerance);
}

TEST(EulerExtraction, GimbalLockMergesTurnsIntoZ)
{
    float y, x, z;
    Matrix lockedUp = Matrix::RotYXZ(0.3f, Pi / 2, 0.2f);
    lockedUp.MatrixToEulerYXZ(&y, &x, &z);
    EXPECT_EQ(x, 1.5707964f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_FLOAT_EQ(z, std::atan2(-lockedUp.m[0][1], lockedUp.m[0][0]));
    EXPECT_NEAR(z, -0.1f, 1e-5f);

    // Looking straight down is three quarter turns, not minus a quarter.
    Matrix::RotX(-Pi / 2).MatrixToEulerYXZ(&y, &x, &z);
    EXPECT_EQ(x, 4.712389f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_NEAR(z, 0.0f, Tolerance);

    Matrix lockedZyx = Matrix::RotZYX(0.5f, -Pi / 2, 0.0f);
    lockedZyx.MatrixToEulerZYX(&z, &y, &x);
    EXPECT_EQ(y, 4.712389f);
    EXPECT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(z, std::atan2(-lockedZyx.m[0][1], lockedZyx.m[1][1]));
}

TEST(EulerExtraction, RoundingPastOneStillCountsAsGimbalLock)
{
    // 1 - s*s below zero makes the cosine NaN; that must not leak out.
    Matrix nearlyLocked(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1.0000001f, 0.0f, 1.0f, 0.0f);
    float y, x, z;
    nearlyLocked.MatrixToEulerYXZ(&y, &x, &z);
    EXPECT_EQ(x, 1.5707964f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_FALSE(std::isnan(z));
}

TEST(EulerExtraction, NegativeM11GivesTheAlternativeSolution)
{
    // X beyond a quarter turn makes m11 negative; the extractor then returns
    // the equivalent triple with |X| >= pi/2 that rebuilds the same matrix.
    const Matrix original = Matrix::RotYXZ(0.4f, 2.3f, -0.7f);
    ASSERT_LT(original.m[1][1], 0.0f);
    float y, x, z;
    original.MatrixToEulerYXZ(&y, &x, &z);
    EXPECT_GE(std::fabs(x), Pi / 2);
    EXPECT_MATRIX_NEAR(Matrix::RotYXZ(y, x, z), original, 1e-5f);

    const Matrix upsideDown = Matrix::RotYXZ(-2.0f, -2.8f, 0.5f);
    ASSERT_LT(upsideDown.m[1][1], 0.0f);
    upsideDown.MatrixToEulerYXZ(&y, &x, &z);
    EXPECT_GE(std::fabs(x), Pi / 2);
    EXPECT_MATRIX_NEAR(Matrix::RotYXZ(y, x, z), upsideDown, 1e-5f);
}

TEST(MatrixBasics, RowsTransposeAndSelfProduct)
{
    const Vector a(1, 2, 3), b(4, 5, 6), c(7, 8, 9);
    Matrix rows(a, b, c);
    EXPECT_VECTOR_NEAR(rows.RowX(), a, 0.0f);
    EXPECT_VECTOR_NEAR(rows.RowY(), b, 0.0f);
    EXPECT_VECTOR_NEAR(rows.RowZ(), c, 0.0f);
    Matrix columns = rows.Transpose();
    EXPECT_VECTOR_NEAR(Vector(columns.m[0][0], columns.m[1][0], columns.m[2][0]), a, 0.0f);
    EXPECT_VECTOR_NEAR(rows.RowX(), a, 0.0f) << "Transpose must leave its object alone";

    Matrix turn = Matrix::RotZ(0.4f);
    Matrix squared = turn;
    squared *= squared;
    EXPECT_MATRIX_NEAR(squared, Matrix::RotZ(0.8f), Tolerance);
    Matrix viaProduct = turn;
    viaProduct = viaProduct * viaProduct;
    EXPECT_MATRIX_NEAR(viaProduct, Matrix::RotZ(0.8f), Tolerance);

    Matrix fromDoubles(1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0);
    EXPECT_MATRIX_NEAR(fromDoubles, rows, 0.0f);
    EXPECT_MATRIX_NEAR(MatrixIdentity, Matrix::Identity, 0.0f);
    EXPECT_MATRIX_NEAR(Matrix::Identity * turn, turn, 0.0f);
}

TEST(VectorBasics, CrossAndNormalize)
{
    EXPECT_VECTOR_NEAR(VectorXAxis.Cross(VectorYAxis), VectorZAxis, 0.0f);
    EXPECT_VECTOR_NEAR(Vector(3, 0, 4).Normalize(), Vector(0.6f, 0, 0.8f), Tolerance);
    EXPECT_VECTOR_NEAR(VectorZero.Normalize(), VectorZero, 0.0f);
    EXPECT_VECTOR_NEAR(Vector(2, 4, 6) / 2.0f, Vector(1, 2, 3), Tolerance);
    EXPECT_FLOAT_EQ(Vector(1, 2, 3).Dot(Vector(4, -5, 6)), 12.0f);
}
} // namespace
