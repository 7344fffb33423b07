// Limits on the text files the system reads.
#pragma once

#include <cstddef>

// The longest line of a motion file. Lines are read whole, so without a
// limit a file of garbage without line ends would fill the memory; no line
// the writer produces comes near it.
constexpr size_t MaxLineLength = size_t(1) << 20;
