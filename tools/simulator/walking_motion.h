// The built-in walk worn by a simulated suit: the null pose for a lead-in,
// then the walk, with the hips carried by the foot that stands (so a
// position sensor reads where the walk has taken the body). Every suit of a
// group walks the same way.
#pragma once

#include "tools/simulator/hips_travel.h"
#include "tools/simulator/motion_source.h"

class WalkingMotion final : public MotionSource {
  public:
    WalkingMotion(double frameRate, uint64_t leadInFrames);
    void FillReadings(int suit, uint64_t frame, SuitReadings& readings) override;

    // The pose of a frame: rotations and hips position. Frames are cheapest
    // in order; an earlier one replays the walk from its start.
    const SkeletonFrame& Pose(uint64_t frame);

  private:
    double frameRate;
    uint64_t leadInFrames;
    HipsTravel travel;
    SkeletonFrame pose;
    uint64_t poseFrame = 0;
    bool posed = false;
    uint64_t readingsFrame = 0;
    bool haveReadings = false;
    SuitReadings readings;
};
