// Vector and matrix comparisons for tests, element by element with a bound.
#pragma once

#include "varnel.h"

#include <gtest/gtest.h>

inline testing::AssertionResult VectorNear(const char* actualText, const char* expectedText,
                                           const char*, Vector actual, Vector expected,
                                           float tolerance)
{
    if (std::fabs(actual.x - expected.x) <= tolerance &&
        std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << actualText << " = (" << actual.x << ", " << actual.y << ", " << actual.z << "), "
           << expectedText << " = (" << expected.x << ", " << expected.y << ", " << expected.z
           << "), tolerance " << tolerance;
}

inline testing::AssertionResult MatrixNear(const char* actualText, const char* expectedText,
                                           const char*, const Matrix& actual,
                                           const Matrix& expected, float tolerance)
{
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            if (!(std::fabs(actual.m[i][j] - expected.m[i][j]) <= tolerance))
                return testing::AssertionFailure()
                       << actualText << " and " << expectedText << " differ at m" << i << j << ": "
                       << actual.m[i][j] << " against " << expected.m[i][j] << ", tolerance "
                       << tolerance;
    return testing::AssertionSuccess();
}

#define EXPECT_VECTOR_NEAR(actual, expected, tolerance)                                            \
    EXPECT_PRED_FORMAT3(VectorNear, actual, expected, tolerance)
#define EXPECT_MATRIX_NEAR(actual, expected, tolerance)                                            \
    EXPECT_PRED_FORMAT3(MatrixNear, actual, expected, tolerance)
