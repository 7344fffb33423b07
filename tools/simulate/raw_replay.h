// A raw take put back on the network: its datagrams, byte for byte, at the
// times they were received, or evenly at a rate of choice.
#pragma once

#include "tools/cli/raw_take.h"
#include "tools/simulator/simulator.h"

#include <atomic>

// Sends from options.sourcePort (0: any) to options.destination, at
// options.rate when rateGiven, within options.frames and options.seconds.
// Every record counts as a frame.
SimulationSummary ReplayRawTake(const RawTake& take, const SimulateOptions& options,
                                const std::atomic<bool>& stopRequested);
