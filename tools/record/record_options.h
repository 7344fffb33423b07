// The options of `varnel record` and their checks.
#pragma once

#include "tools/cli/bvh_units.h"
#include "tools/cli/live_suits.h"
#include "tools/cli/option_checks.h"
#include "varnel.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

struct RecordOptions : LiveSuitOptions {
    std::string outputPath;                // empty: no BVH file (a raw take only)
    std::string rawPath;                   // empty: no raw take
    LengthUnit units = LengthUnit::Inches; // of the takes written
    double seconds = 0.0;                  // 0: no time limit
    uint64_t frames = 0;                   // 0: no frame limit
};

// Registers the options on the subcommand, storing into options. Bad values
// fail the parse with CLI::ValidationError.
void AddRecordOptions(CLI::App& command, RecordOptions& options);
