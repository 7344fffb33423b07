// The recorder's waits: before the take (the countdown, the suits' first
// datagrams, their stillness for the calibration) and through it (until its
// end). Each polls its stop flag, so Ctrl+C cuts any of them short.
#pragma once

#include "tools/record/frame_capture.h"
#include "tools/record/record_options.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

// A suit of the session between its first datagram and its take.
struct SessionSuit {
    VarnelHandle suit = nullptr;
    FrameCapture* capture = nullptr;
    std::string name; // printable
};

enum class StillEnd { Calibrated, Stopped, Silent, TooLong };

// Calibrates each suit as soon as its raw channels have held still, saying
// once on errors of a suit that moves (naming it when there are several).
// Gives up after options.stillLimitSeconds, or when a suit is silent for
// options.silenceSeconds; *culprit is then the suit's position in suits.
StillEnd CalibrateWhenStill(const std::vector<SessionSuit>& suits, const RecordOptions& options,
                            const std::atomic<bool>& stopRequested, std::FILE* errors,
                            size_t* culprit);

enum class TakeEnd { Limit, Stopped, Silent, OutOfMemory };

// Waits, from start, until each suit's take reaches a limit of the options,
// is stopped, finds its suit silent for options.silenceSeconds or runs out
// of memory, storing how in ends (one per suit). A suit that ends early
// stops only its own take. Keeps a progress line fresh on out when it is a
// terminal.
void WatchTakes(const RecordOptions& options, const std::vector<SessionSuit>& suits, int64_t start,
                const std::atomic<bool>& stopRequested, std::FILE* out, std::vector<TakeEnd>& ends);
