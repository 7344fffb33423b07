// The options of `varnel stream` and their checks.
#pragma once

#include "tools/cli/network_address.h"
#include "tools/cli/suit_setup.h"
#include "varnel.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where the receivers of the VMC protocol listen unless told otherwise.
constexpr uint16_t VmcDefaultPort = 39539;

struct StreamOptions {
    std::vector<Destination> targets{{"127.0.0.1", VmcDefaultPort}};
    double seconds = 0.0;           // 0: no time limit
    uint64_t frames = 0;            // 0: no frame limit
    std::optional<SuitChoice> suit; // none: the first suit found
    std::string actorPath;          // empty: the suit's current actor
    bool positionSensor = false;
    bool floorGiven = false;
    FloorGeometry floor{};
    double countdownSeconds = 3.0;
    // How long the suit may stay silent before the stream gives up on it.
    double silenceSeconds = 3.0;
};

// Registers the options on the subcommand, storing into options. Bad values
// fail the parse with CLI::ValidationError.
void AddStreamOptions(CLI::App& command, StreamOptions& options);
