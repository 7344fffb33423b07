// The fast "%f" must print every float exactly as printf does.
#include "skeleton/fixed_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace {
testing::AssertionResult PrintsLikePrintf(float value)
{
    char expected[400];
    std::snprintf(expected, sizeof expected, "%f", double(value));
    char actual[FixedFloatMaxLength];
    size_t length = FormatFixed6(value, actual);
    if (std::string(actual, length) == expected)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "bits 0x" << std::hex << std::bit_cast<uint32_t>(value) << ": \""
           << std::string(actual, length) << "\" instead of \"" << expected << "\"";
}
} // namespace

TEST(FixedFormat, SpecialValuesAndExtremes)
{
    const float infinity = std::numeric_limits<float>::infinity();
    for (float value :
         {0.0f,          -0.0f,    infinity,     -infinity, std::nanf(""), -std::nanf(""),
          FLT_MAX,       -FLT_MAX, FLT_MIN,      -FLT_MIN,  FLT_TRUE_MIN,  -FLT_TRUE_MIN,
          1.0f,          -1.0f,    0.033333335f, 36.5f,     -17.5f,        16777216.0f,
          4294967296.0f, 1e19f,    1e20f,        5e-7f,     -5e-7f,        4.9999997e-7f,
          5.0000006e-7f, 1.5e-6f,  999999.94f})
        EXPECT_TRUE(PrintsLikePrintf(value));
}

TEST(FixedFormat, HalfwayCasesRoundToEven)
{
    // k / 128 has seven decimals ending in 5: an exact tie at the sixth.
    for (int k = -4096; k <= 4096; k++) {
        float tie = float(k) / 128.0f;
        ASSERT_TRUE(PrintsLikePrintf(tie));
        ASSERT_TRUE(PrintsLikePrintf(tie + 1000.0f));
        ASSERT_TRUE(PrintsLikePrintf(std::nextafter(tie, 1e9f)));
        ASSERT_TRUE(PrintsLikePrintf(std::nextafter(tie, -1e9f)));
    }
    for (int shift = 1; shift < 40; shift++)
        for (int odd = 1; odd < 64; odd += 2)
            ASSERT_TRUE(PrintsLikePrintf(std::ldexp(float(odd), -shift)));
}

TEST(FixedFormat, SweepOfAllExponents)
{
    // Every 4099th bit pattern covers each exponent with many mantissas.
    for (uint64_t bits = 0; bits < (uint64_t(1) << 32); bits += 4099)
        ASSERT_TRUE(PrintsLikePrintf(std::bit_cast<float>(uint32_t(bits))));
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> angle(-720.0f, 720.0f);
    for (int i = 0; i < 300000; i++)
        ASSERT_TRUE(PrintsLikePrintf(angle(random)));
}
