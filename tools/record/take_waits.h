// The recorder's wait through the take, until its end. It polls its stop
// flag, so Ctrl+C cuts it short.
#pragma once

#include "tools/record/frame_capture.h"
#include "tools/record/record_options.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

// A suit of the session while it records.
struct SessionSuit {
    VarnelHandle suit = nullptr;
    FrameCapture* capture = nullptr;
    std::string name; // printable
};

enum class TakeEnd { Limit, Stopped, Silent, OutOfMemory };

// Waits, from start, until each suit's take reaches a limit of the options,
// is stopped, finds its suit silent for options.silenceSeconds or runs out
// of memory, storing how in ends (one per suit). A suit that ends early
// stops only its own take. Keeps a progress line fresh on out when it is a
// terminal.
void WatchTakes(const RecordOptions& options, const std::vector<SessionSuit>& suits, int64_t start,
                const std::atomic<bool>& stopRequested, std::FILE* out, std::vector<TakeEnd>& ends);
