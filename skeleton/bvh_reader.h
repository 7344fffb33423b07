// VarnelReadBVH (declared in varnel.h) and its test hook.
#pragma once

#include <cstdint>

// Tests number a file's first line `first` instead of 1 through this, so
// that messages past 2^31 lines are checked without such a file.
void SetBvhFirstLineNumberForTesting(int64_t first);
