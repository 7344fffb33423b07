// When each frame is due. Frame k is due at start + k / rate, computed from k
// every time, so rounding never accumulates into drift.
#pragma once

#include "tools/cli/monotonic_clock.h"

#include <cstdint>

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
