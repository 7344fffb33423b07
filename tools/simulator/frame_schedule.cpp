#include "tools/simulator/frame_schedule.h"

#include <cmath>

int64_t FrameSchedule::DueTime(uint64_t frame) const
{
    // From the frame number every time: no rounding error carries over.
    long double offset = (long double)frame * NanosecondsPerSecond / frameRate;
    return startNanoseconds + int64_t(std::llround(offset));
}

uint64_t FramesInSeconds(double seconds, double frameRate)
{
    // The tolerance keeps 1.1 s at 50 frames per second at 55 frames, not 56.
    double frames = std::ceil(seconds * frameRate - 1e-9);
    return frames < 1.0 ? 1 : uint64_t(frames);
}
