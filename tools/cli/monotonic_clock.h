// The monotonic clock that the commands time and pace themselves by: a
// change of the wall clock never stretches a take or a frame.
#pragma once

#include <cstdint>

constexpr int64_t NanosecondsPerSecond = 1000000000;

int64_t MonotonicNanoseconds();

// Sleeps until the monotonic clock reaches dueNanoseconds. Returns false if
// a signal handler ran first, so the caller can look at its stop flag.
bool SleepUntil(int64_t dueNanoseconds);
