// The options of `varnel record` and their checks.
#pragma once

#include "tools/cli/bvh_units.h"
#include "tools/cli/option_checks.h"
#include "tools/cli/suit_setup.h"
#include "varnel.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct RecordOptions {
    std::string outputPath;                // empty: no BVH file (a raw take only)
    std::string rawPath;                   // empty: no raw take
    LengthUnit units = LengthUnit::Inches; // of the takes written
    double seconds = 0.0;                  // 0: no time limit
    uint64_t frames = 0;                   // 0: no frame limit
    // None: the first suit found, or every one with allSuits.
    std::vector<SuitChoice> suits;
    bool allSuits = false;
    std::string actorPath; // empty: the suit's current actor
    bool positionSensor = false;
    bool floorGiven = false;
    FloorGeometry floor{};
    double countdownSeconds = 3.0;
    // Calibrate only once every channel has held still; scripts may skip it.
    bool stillCheck = true;
    // How long the suits may take to hold still before the recorder gives up.
    double stillLimitSeconds = 30.0;
    // How long a suit may stay silent before the recorder gives up on it.
    double silenceSeconds = 3.0;
};

// Registers the options on the subcommand, storing into options. Bad values
// fail the parse with CLI::ValidationError.
void AddRecordOptions(CLI::App& command, RecordOptions& options);
