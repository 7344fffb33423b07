// The options of `varnel record` and their checks.
#pragma once

#include "tools/cli/bvh_units.h"
#include "tools/cli/network_address.h"
#include "varnel.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

struct RecordOptions {
    std::string outputPath;
    LengthUnit units = LengthUnit::Inches; // of the take written
    double seconds = 0.0;                  // 0: no time limit
    uint64_t frames = 0;                   // 0: no frame limit
    bool suitGiven = false;
    Destination suit{"", 0}; // the suit's address and source port
    std::string actorPath;   // empty: the suit's current actor
    bool positionSensor = false;
    bool floorGiven = false;
    FloorGeometry floor{};
    double countdownSeconds = 0.0;
    // How long a suit may stay silent before the recorder gives up on it.
    double silenceSeconds = 3.0;
};

// Parses "DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS": five numbers, CLAMP 0 or 1,
// STEPS a whole number from 0 to 1000, MIN not above MAX where they are
// used. Returns an empty text on success, otherwise what is wrong.
std::string ParseFloor(const std::string& text, FloorGeometry* floor);

// Registers the options on the subcommand, storing into options. Bad values
// fail the parse with CLI::ValidationError.
void AddRecordOptions(CLI::App& command, RecordOptions& options);
