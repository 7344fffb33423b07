#include "tools/simulator/take_motion.h"

#include "tools/simulator/pose_readings.h"

void TakeMotion::FillReadings(int, uint64_t frame, SuitReadings& readings)
{
    if (frame < leadInFrames || frameCount <= 0) {
        NullPoseReadings(readings);
        return;
    }
    uint64_t index = frame - leadInFrames;
    if (loop)
        index %= uint64_t(frameCount);
    else if (index >= uint64_t(frameCount))
        index = uint64_t(frameCount) - 1; // past the end the body holds still
    ReadingsFromPose(frames[index], readings);
}

uint64_t TakeMotion::FrameCount() const
{
    return loop ? 0 : leadInFrames + uint64_t(frameCount);
}
