// A take of the 18-joint body (a BVH file's frames) worn by a simulated
// suit: first the null pose for a lead-in, so that a recorder can calibrate
// on it, then the take's frames, once or over and over.
#pragma once

#include "tools/simulator/motion_source.h"
#include "varnel.h"

class TakeMotion final : public MotionSource {
  public:
    // The frames stay the caller's and must outlive the motion.
    TakeMotion(const SkeletonFrame* frames, int frameCount, uint64_t leadInFrames, bool loop)
        : frames(frames), frameCount(frameCount), leadInFrames(leadInFrames), loop(loop)
    {
    }
    void FillReadings(int suit, uint64_t frame, SuitReadings& readings) override;
    uint64_t FrameCount() const override;

  private:
    const SkeletonFrame* frames;
    int frameCount;
    uint64_t leadInFrames;
    bool loop;
};
