// The BVH rescaling on arbitrary bytes. Beyond not crashing: whatever it
// accepts it must turn into text that it accepts again, with as many lines.
#include "tools/cli/bvh_units.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string scaled, back;
    if (ScaleBvhText(text, &scaled, 2.54).outcome != BvhScaling::Scaled)
        return 0;
    if (ScaleBvhText(scaled, &back, 1 / 2.54).outcome != BvhScaling::Scaled)
        std::abort();
    if (std::count(text.begin(), text.end(), '\n') != std::count(back.begin(), back.end(), '\n'))
        std::abort();
    return 0;
}
