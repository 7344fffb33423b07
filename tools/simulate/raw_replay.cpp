#include "tools/simulate/raw_replay.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/network_address.h"
#include "tools/simulator/datagram_sender.h"

#include <algorithm>
#include <cmath>

namespace {
// Bounds how long a stop goes unnoticed in a long silence of the take.
constexpr int64_t MaxSleepNanoseconds = 50 * 1000 * 1000;

bool WaitUntil(int64_t due, const std::atomic<bool>& stopRequested)
{
    while (!stopRequested.load()) {
        int64_t now = MonotonicNanoseconds();
        if (now >= due)
            return true;
        SleepUntil(std::min(due, now + MaxSleepNanoseconds));
    }
    return false;
}
} // namespace

SimulationSummary ReplayRawTake(const RawTake& take, const SimulateOptions& options,
                                const std::atomic<bool>& stopRequested)
{
    SimulationSummary summary;
    uint32_t address = 0;
    summary.error = ResolveIpv4(options.destination.host, &address);
    DatagramSender sender;
    if (summary.error.empty())
        summary.error = sender.Open(options.sourcePort, address, options.destination.port);
    if (!summary.error.empty() || take.records.empty())
        return summary;
    const int64_t start = MonotonicNanoseconds();
    const int64_t first = take.records[0].time;
    const int64_t limit = options.seconds > 0.0
                              ? int64_t(std::llround(options.seconds * NanosecondsPerSecond))
                              : INT64_MAX;
    for (size_t i = 0; i < take.records.size(); i++) {
        if (options.frames != 0 && summary.frames >= options.frames)
            break;
        int64_t offset =
            options.rateGiven
                ? int64_t(std::llround(double(i) * NanosecondsPerSecond / options.rate))
                : take.records[i].time - first;
        if (offset >= limit || !WaitUntil(start + offset, stopRequested))
            break;
        summary.error = sender.Send(take.records[i].datagram.data(), SUIT_PACKET_SIZE);
        if (!summary.error.empty())
            break;
        summary.frames++;
        summary.datagrams++;
    }
    summary.seconds = double(MonotonicNanoseconds() - start) / NanosecondsPerSecond;
    return summary;
}
