// Ctrl+C and SIGTERM end a running subcommand the orderly way: it finishes
// what it writes and prints its summary.
#pragma once

#include <atomic>

// Points SIGINT and SIGTERM at a flag and returns it. No SA_RESTART: a
// signal must cut a sleep or a wait short.
const std::atomic<bool>& CatchStopSignals();
