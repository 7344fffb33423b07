// Tells when a suit's frames stop coming, and whether one has come since
// last asked, from a count of the frames it has delivered.
#pragma once

#include "tools/cli/monotonic_clock.h"

#include <cstdint>
#include <functional>
#include <utility>

class SilenceWatch {
  public:
    // frames: every frame the suit has delivered so far.
    SilenceWatch(std::function<uint64_t()> frames, int64_t start)
        : frames(std::move(frames)), lastDelivered(this->frames()), lastHeard(start)
    {
    }
    // True when a frame came since the last call.
    bool Heard(int64_t now)
    {
        uint64_t delivered = frames();
        if (delivered == lastDelivered)
            return false;
        lastDelivered = delivered;
        lastHeard = now;
        return true;
    }
    double SilentSeconds(int64_t now)
    {
        Heard(now);
        return double(now - lastHeard) / NanosecondsPerSecond;
    }

  private:
    std::function<uint64_t()> frames;
    uint64_t lastDelivered;
    int64_t lastHeard;
};
