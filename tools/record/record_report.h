// What `varnel record` tells its user: the progress line while recording
// and the summary of the take.
#pragma once

#include <cstdint>
#include <string>

struct TakeSummary {
    uint64_t frames = 0;
    double seconds = 0.0;     // from the calibration to the last frame recorded
    uint32_t dropped = 0;     // datagrams the library overwrote before solving them
    double nominalRate = 0.0; // the suit's own frames per second
};

// "Recording: 120 frames, 2.0 s, 0 dropped" - one line, rewritten in place.
std::string FormatProgress(uint64_t frames, double seconds, uint32_t dropped);

// "Recorded 300 frames in 5.00 s (60.0 frames/s measured, suit nominal 60),
// 2 dropped frames".
std::string FormatSummary(const TakeSummary& take);
