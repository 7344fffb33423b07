#include "tools/simulator/motion_source.h"

#include <cmath>

uint64_t LeadInFrames(double seconds, double frameRate)
{
    return uint64_t(std::llround(seconds * frameRate));
}
