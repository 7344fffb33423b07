// The subcommands of the varnel command line. Each Add...Command registers
// its options on the app and, when chosen, runs and stores its exit status.
#pragma once

#include <CLI/CLI.hpp>

// `varnel simulate`: one or more simulated suits sending datagrams.
void AddSimulateCommand(CLI::App& app, int& exitStatus);

// `varnel record -o FILE`: headless capture of a suit to a BVH file.
void AddRecordCommand(CLI::App& app, int& exitStatus);

// `varnel suits`: one second of listening, then the table of suits heard.
void AddSuitsCommand(CLI::App& app, int& exitStatus);

// `varnel info FILE`: what a BVH motion file or an actor file holds.
void AddInfoCommand(CLI::App& app, int& exitStatus);

// `varnel actor IN -o OUT --units NAME`: an actor file in other length units.
void AddActorCommand(CLI::App& app, int& exitStatus);
