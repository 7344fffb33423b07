// Headless capture: find the suits, calibrate them on the null pose, keep
// every frame the library delivers and write each suit's take as a BVH file.
#pragma once

#include "tools/record/record_options.h"
#include "tools/record/record_report.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// One suit's take of a session and where it goes.
struct SuitTake {
    SuitTake() { VarnelInitSkeleton(&take); }
    ~SuitTake() { VarnelFreeSkeletonFrames(&take); }
    SuitTake(const SuitTake&) = delete;
    SuitTake& operator=(const SuitTake&) = delete;

    std::string name; // printable
    std::string path; // the output file, or "-"
    Skeleton take;
    TakeSummary summary;
};

// Records the suits the options choose, all started and stopped together:
// until a limit, until stopRequested is set (Ctrl+C: the takes so far are
// still written) or until a suit falls silent (which ends its own take).
// Progress goes to `out` (a line rewritten in place when out is a
// terminal), problems to `errors`. Each suit's take is left in `takes`,
// in the order chosen. Returns the exit status: 0; 1 for no suit, a silent
// or restless suit, an unreadable actor or an unwritable output; 2 when
// the library cannot start or the suits chosen cannot share the output.
int RecordTakes(const RecordOptions& options, const std::atomic<bool>& stopRequested,
                std::vector<std::unique_ptr<SuitTake>>& takes, std::FILE* out, std::FILE* errors);

// RecordTakes, then the BVH files and the summaries. An output of "-" puts
// the take on `out` and everything else on `errors`.
int RunRecord(const RecordOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors);
