// The options of `varnel simulate` and their checks.
#pragma once

#include "tools/simulator/simulator.h"

#include <CLI/CLI.hpp>

// Registers the options on the subcommand, storing into options. Bad values
// and bad combinations fail the parse with CLI::ValidationError.
void AddSimulateOptions(CLI::App& command, SimulateOptions& options);
