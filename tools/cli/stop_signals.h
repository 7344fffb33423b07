// Signals that would otherwise end the program and lose what it writes.
// Ctrl+C, SIGTERM and a closed terminal end a running subcommand the orderly
// way: it finishes what it writes and prints its summary.
#pragma once

#include <atomic>

// Points SIGINT, SIGTERM and SIGHUP at a flag and returns it. No SA_RESTART:
// a signal must cut a sleep or a wait short.
const std::atomic<bool>& CatchStopSignals();

// A file-size limit (ulimit -f) then fails the write with an error that is
// reported, instead of killing the program mid-file.
void IgnoreFileSizeSignal();
