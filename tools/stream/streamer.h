// `varnel stream`: finds a suit, calibrates it on the null pose and sends
// every solved frame to VMC receivers until a limit, Ctrl+C or the suit's
// silence.
#pragma once

#include "tools/stream/stream_options.h"

#include <atomic>
#include <cstdio>

// Progress and the summary go to out, problems to errors. Returns the exit
// status: 0; 1 for no suit, a suit not found or silent, an unreadable actor
// file or a target that cannot be resolved; 2 when the library cannot start.
int RunStream(const StreamOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors);
