// The recorder's waits: before the take (the countdown, the suit's first
// datagram) and through it (until its end). Each polls its stop flag, so
// Ctrl+C cuts any of them short.
#pragma once

#include "tools/record/frame_capture.h"
#include "tools/record/record_options.h"

#include <atomic>
#include <cstdio>

// Seconds counted down on one line of out; false if a stop came first.
bool CountDown(double seconds, const std::atomic<bool>& stopRequested, std::FILE* out);

// Waits up to `seconds` for the suit's first datagram, which the
// calibration needs; false if none came or a stop came first.
bool WaitForData(VarnelHandle suit, double seconds, const std::atomic<bool>& stopRequested);

enum class TakeEnd { Limit, Stopped, Silent, OutOfMemory };

// Waits, from start, until the take reaches a limit of the options, is
// stopped, finds the suit silent for options.silenceSeconds or runs out of
// memory. Keeps a progress line fresh on out when it is a terminal.
TakeEnd WatchTake(const RecordOptions& options, VarnelHandle suit, const FrameCapture& capture,
                  int64_t start, const std::atomic<bool>& stopRequested, std::FILE* out);
