// Headless capture: find the suit, calibrate it on the null pose, keep
// every frame the library delivers and write the take as a BVH file.
#pragma once

#include "tools/record/record_options.h"
#include "tools/record/record_report.h"

#include <atomic>
#include <cstdio>

// Runs one recording until its limit, until stopRequested is set (Ctrl+C:
// the take so far is still written) or until the suit falls silent.
// Progress goes to `out` (a line rewritten in place when out is a
// terminal), problems to `errors`. The take is left in `take` (an
// initialised skeleton whose frames are replaced) and summed up in
// `summary`. Returns the exit status: 0; 1 for no suit, a silent suit, an
// unreadable actor or a failed write; 2 when the library cannot start.
int RecordTake(const RecordOptions& options, const std::atomic<bool>& stopRequested, Skeleton& take,
               TakeSummary& summary, std::FILE* out, std::FILE* errors);

// RecordTake, then the BVH file and the summary. An output of "-" puts
// the take on `out` and everything else on `errors`.
int RunRecord(const RecordOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors);
