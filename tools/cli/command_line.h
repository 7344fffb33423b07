// The varnel program: its commands, its usage errors and its exit statuses.
#pragma once

#include <cstdio>

// Exit status of every usage error (unknown command or option, missing or
// bad value), as other command-line tools use it.
constexpr int UsageErrorStatus = 2;

// Parses the command line and runs the chosen command, writing its output
// to out and its messages (the library's too) to errors. Returns the exit
// status: the command's, 0 for --help and --version, UsageErrorStatus for a
// command line it cannot run.
int RunCommandLine(int argc, const char* const argv[], std::FILE* out, std::FILE* errors);
