// Numbers as "%f" prints a float: fixed point, six decimals, rounded to
// nearest with ties to even, "-" on negative values (also -0.000000), "inf"
// and "nan" with their signs. Byte-identical to printf, several times faster.
#pragma once

#include <cstddef>

// Room for any float: 39 integer digits, sign, point and six decimals.
constexpr size_t FixedFloatMaxLength = 48;

// Writes the text of value at out (no terminating NUL); returns its length.
size_t FormatFixed6(float value, char* out);
