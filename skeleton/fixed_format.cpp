#include "skeleton/fixed_format.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {
// Digits of value, most significant first, at out; returns their count.
template <typename Unsigned> size_t WriteDigits(Unsigned value, char* out)
{
    char reversed[40];
    size_t count = 0;
    do {
        reversed[count++] = char('0' + unsigned(value % 10));
        value /= 10;
    } while (value != 0);
    for (size_t i = 0; i < count; i++)
        out[i] = reversed[count - 1 - i];
    return count;
}

size_t WriteFraction(uint32_t micro, char* out)
{
    out[0] = '.';
    for (int i = 6; i >= 1; i--) {
        out[i] = char('0' + micro % 10);
        micro /= 10;
    }
    return 7;
}
} // namespace

size_t FormatFixed6(float value, char* out)
{
    uint32_t bits = std::bit_cast<uint32_t>(value);
    size_t length = 0;
    if (bits >> 31)
        out[length++] = '-';
    uint32_t exponentBits = (bits >> 23) & 0xff;
    uint32_t fraction = bits & 0x7fffff;
    if (exponentBits == 0xff) {
        std::memcpy(out + length, fraction ? "nan" : "inf", 3);
        return length + 3;
    }
    // value = mantissa * 2^exponent exactly.
    uint64_t mantissa = exponentBits ? (fraction | 0x800000u) : fraction;
    int exponent = exponentBits ? int(exponentBits) - 150 : -149;

    if (exponent >= 0) {
        // A whole number, up to 128 bits wide.
        unsigned __int128 whole = (unsigned __int128)mantissa << exponent;
        if (exponent <= 39)
            length += WriteDigits(uint64_t(whole), out + length);
        else
            length += WriteDigits(whole, out + length);
        return length + WriteFraction(0, out + length);
    }

    // Millionths, rounded to nearest, ties to even. mantissa * 10^6 < 2^44,
    // so beyond a shift of 44 the value is under half a millionth.
    int shift = -exponent;
    uint64_t scaled = mantissa * 1000000u;
    uint64_t millionths = 0;
    if (shift < 64) {
        millionths = scaled >> shift;
        uint64_t remainder = scaled & ((uint64_t(1) << shift) - 1);
        uint64_t half = uint64_t(1) << (shift - 1);
        if (remainder > half || (remainder == half && (millionths & 1)))
            millionths++;
    }
    length += WriteDigits(millionths / 1000000u, out + length);
    return length + WriteFraction(uint32_t(millionths % 1000000u), out + length);
}
