// Value checks that several subcommands share, for CLI::Option::check: each
// returns an empty text for a good value, otherwise what is wrong.
#pragma once

#include "tools/cli/bvh_units.h"
#include "varnel.h"

#include <CLI/CLI.hpp>

#include <string>

// A number of seconds above 0 (--seconds).
std::string CheckSeconds(const std::string& text);

// A whole number of frames from 1 to 2^64-1 (--frames).
std::string CheckFrameCount(const std::string& text);

// A length unit: in, cm or m (--units, --from).
std::string CheckLengthUnit(const std::string& text);

// A countdown of 0 to 600 seconds (--countdown).
std::string CheckCountdown(const std::string& text);

// Registers --units UNIT, the length unit of the BVH take a command writes
// (in, cm or m), storing into units.
void AddTakeUnitsOption(CLI::App& command, LengthUnit& units);
