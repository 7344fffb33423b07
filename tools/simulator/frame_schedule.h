// When each frame is due. Frame k is due at start + k / rate, computed from k
// every time, so rounding never accumulates into drift.
#pragma once

#include <cstdint>

constexpr int64_t NanosecondsPerSecond = 1000000000;

class FrameSchedule {
  public:
    FrameSchedule(int64_t startNanoseconds, double frameRate)
        : startNanoseconds(startNanoseconds), frameRate(frameRate)
    {
    }
    int64_t DueTime(uint64_t frame) const;

  private:
    int64_t startNanoseconds;
    double frameRate;
};

// How many frames fall within the first `seconds` (at least one).
uint64_t FramesInSeconds(double seconds, double frameRate);

// The monotonic clock that schedules are laid on.
int64_t MonotonicNanoseconds();

// Sleeps until the monotonic clock reaches dueNanoseconds. Returns false if
// a signal handler ran first, so the caller can look at its stop flag.
bool SleepUntil(int64_t dueNanoseconds);
