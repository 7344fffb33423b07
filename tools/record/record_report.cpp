#include "tools/record/record_report.h"

#include <cstdio>

namespace {
const char* Plural(uint64_t count)
{
    return count == 1 ? "" : "s";
}
} // namespace

std::string FormatProgress(uint64_t frames, double seconds, uint32_t dropped)
{
    char line[128];
    std::snprintf(line, sizeof line, "Recording: %llu frame%s, %.1f s, %u dropped",
                  (unsigned long long)frames, Plural(frames), seconds, dropped);
    return line;
}

std::string FormatSummary(const TakeSummary& take)
{
    double measured = take.seconds > 0.0 ? double(take.frames) / take.seconds : 0.0;
    char line[192];
    std::snprintf(line, sizeof line,
                  "Recorded %llu frame%s in %.2f s (%.1f frames/s measured, suit nominal %g), "
                  "%u dropped frame%s",
                  (unsigned long long)take.frames, Plural(take.frames), take.seconds, measured,
                  take.nominalRate, take.dropped, Plural(take.dropped));
    return line;
}
