// Where a simulated suit's readings come from. The simulator asks for the
// readings of frame k of each suit; sources decide what the body does.
#pragma once

#include "common/suit_datagram.h"

#include <cstdint>

class MotionSource {
  public:
    virtual ~MotionSource() = default;
    // Fills every reading of frame `frame` (frame 0 is the first one sent) of
    // suit `suit`. Runs once per frame and suit, so it must not allocate.
    virtual void FillReadings(int suit, uint64_t frame, SuitReadings& readings) = 0;
    // How many frames the source has; 0 for one that never runs out.
    virtual uint64_t FrameCount() const { return 0; }
};

// The frames of a lead-in of `seconds` at frameRate, rounded.
uint64_t LeadInFrames(double seconds, double frameRate);
