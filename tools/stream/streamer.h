// `varnel stream`: finds the suits, calibrates each on the null pose and
// sends every solved frame to VMC receivers until a limit or Ctrl+C; a suit
// that falls silent ends only its own stream.
#pragma once

#include "tools/stream/stream_options.h"

#include <atomic>
#include <cstdio>

// Progress and the summary go to out, problems to errors. Returns the exit
// status: 0; 1 for no suit, a suit not found, silent or never still, an
// unreadable actor file or a target that cannot be resolved; 2 when the
// library cannot start or for a suit named twice or a port beyond 65535.
int RunStream(const StreamOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors);
