// The calibration of live suits on the null pose, as every capturing
// command does it: a countdown to take the pose, each suit's first
// datagram, then each suit calibrated as soon as its raw channels hold
// still, since calibrating on a pose that still moves skews every frame.
#pragma once

#include "tools/cli/live_suits.h"
#include "varnel.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct CalibratingSuit {
    VarnelHandle suit = nullptr;
    std::string name; // printable
    // Every frame the suit has delivered so far: only a fresh reading counts,
    // so a suit that stopped sending never looks still.
    std::function<uint64_t()> frames;
};

// How a command speaks of what follows the calibration: "varnel record"
// says "take" and "recorded", "varnel stream" "stream" and "streamed".
struct CalibrationWords {
    std::string_view command;
    std::string_view activity;
    std::string_view done;
};

// Calibrates every suit after options.countdownSeconds, once it holds still
// (at once without options.stillCheck), saying once on errors of a suit
// that moves. Returns an empty text when every suit is calibrated, otherwise
// why not: a stop, a silent suit, or suits that did not hold still within
// options.stillLimitSeconds.
std::string CalibrateOnNullPose(const std::vector<CalibratingSuit>& suits,
                                const LiveSuitOptions& options, const CalibrationWords& words,
                                const std::atomic<bool>& stopRequested, std::FILE* errors);
