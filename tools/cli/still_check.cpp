#include "tools/cli/still_check.h"

#include <cstdlib>

StillCheck::Verdict StillCheck::Feed(int64_t now, const RawChannels& channels)
{
    bool moved = false;
    for (int i = 0; i < StillChannelCount; i++)
        if (std::abs(int(channels[i]) - int(reference[i])) > StillToleranceCounts)
            moved = true;
    // Drift is measured from the stretch's first reading, so a slow creep
    // of a count per reading is still movement.
    if (!started || moved) {
        reference = channels;
        stretchStart = now;
        bool first = !started;
        started = true;
        return first ? Verdict::Settling : Verdict::Moved;
    }
    return now - stretchStart >= StillNanoseconds ? Verdict::Still : Verdict::Settling;
}
