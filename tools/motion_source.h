// Where a simulated suit's readings come from. The simulator asks for the
// readings of frame k of each suit; sources decide what the body does.
#pragma once

#include "suit_datagram.h"

#include <cstdint>

class MotionSource {
  public:
    virtual ~MotionSource() = default;
    // Fills every reading of frame `frame` (frame 0 is the first one sent) of
    // suit `suit`. Runs once per frame and suit, so it must not allocate.
    virtual void FillReadings(int suit, uint64_t frame, SuitReadings& readings) = 0;
};

// A body that sways gently: every channel and orientation angle follows its
// own slow sine around mid-scale, so the motion is smooth and never still.
class SwayingMotion final : public MotionSource {
  public:
    explicit SwayingMotion(double frameRate) : frameRate(frameRate) {}
    void FillReadings(int suit, uint64_t frame, SuitReadings& readings) override;

  private:
    double frameRate;
};
