// The options of `varnel stream` and their checks.
#pragma once

#include "tools/cli/live_suits.h"
#include "tools/cli/network_address.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

// Where the receivers of the VMC protocol listen unless told otherwise.
constexpr uint16_t VmcDefaultPort = 39539;

struct StreamOptions : LiveSuitOptions {
    // Of the first suit; the suit at position k of several streams to
    // every target's port + k, as a receiver takes one performer per port.
    std::vector<Destination> targets{{"127.0.0.1", VmcDefaultPort}};
    double seconds = 0.0; // 0: no time limit
    uint64_t frames = 0;  // 0: no frame limit
};

// The targets of the suit at position k of the stream: every target's port
// moved up by k. Returns an empty text on success, otherwise what is wrong.
std::string SuitTargets(const std::vector<Destination>& targets, size_t k,
                        std::vector<Destination>* shifted);

// Registers the options on the subcommand, storing into options. Bad values
// fail the parse with CLI::ValidationError.
void AddStreamOptions(CLI::App& command, StreamOptions& options);
