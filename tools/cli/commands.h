// The subcommands of the varnel command line. Each Add...Command registers
// its options on the app and, when chosen, runs, writing to the run's
// streams, and stores its exit status there.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdio>

struct CommandRun {
    std::FILE* out = stdout;    // the answer, which a pipe may read
    std::FILE* errors = stderr; // problems, prefixed "varnel CMD: "
    int exitStatus = 0;
};

// `varnel simulate`: one or more simulated suits sending datagrams.
void AddSimulateCommand(CLI::App& app, CommandRun& run);

// `varnel record -o FILE`: headless capture of a suit to a BVH file.
void AddRecordCommand(CLI::App& app, CommandRun& run);

// `varnel stream`: a suit's frames live to VMC receivers.
void AddStreamCommand(CLI::App& app, CommandRun& run);

// `varnel suits`: one second of listening, then the table of suits heard.
void AddSuitsCommand(CLI::App& app, CommandRun& run);

// `varnel info FILE`: what a BVH motion file or an actor file holds.
void AddInfoCommand(CLI::App& app, CommandRun& run);

// `varnel actor IN -o OUT --units NAME`: an actor file in other length units.
void AddActorCommand(CLI::App& app, CommandRun& run);

// `varnel convert IN -o OUT --units UNIT`: a BVH take in other length units.
void AddConvertCommand(CLI::App& app, CommandRun& run);

// `varnel solve RAW -o OUT`: a raw take solved again into a BVH take.
void AddSolveCommand(CLI::App& app, CommandRun& run);
