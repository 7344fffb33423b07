#include "tools/record/take_waits.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/silence_watch.h"
#include "tools/record/record_report.h"

#include <cmath>
#include <unistd.h>

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;
constexpr int64_t ProgressNanoseconds = 250'000'000;

double SecondsSince(int64_t start)
{
    return double(MonotonicNanoseconds() - start) / NanosecondsPerSecond;
}

// Sleeps a little; false once a stop was asked for.
bool Pause(const std::atomic<bool>& stopRequested)
{
    SleepUntil(MonotonicNanoseconds() + PollNanoseconds);
    return !stopRequested.load();
}
} // namespace

void WatchTakes(const RecordOptions& options, const std::vector<SessionSuit>& suits, int64_t start,
                const std::atomic<bool>& stopRequested, std::FILE* out, std::vector<TakeEnd>& ends)
{
    bool terminal = isatty(fileno(out));
    int64_t lastProgress = 0;
    std::vector<SilenceWatch> silences;
    for (const SessionSuit& suit : suits)
        silences.emplace_back([capture = suit.capture] { return capture->Delivered(); }, start);
    std::vector<bool> running(suits.size(), true);
    ends.assign(suits.size(), TakeEnd::Limit);
    size_t left = suits.size();
    auto end = [&](size_t i, TakeEnd how) {
        suits[i].capture->Stop();
        ends[i] = how;
        running[i] = false;
        left--;
    };
    while (left > 0) {
        bool stopped = !Pause(stopRequested);
        int64_t now = MonotonicNanoseconds();
        bool timeUp = options.seconds > 0.0 && SecondsSince(start) >= options.seconds;
        uint64_t frames = 0;
        uint32_t dropped = 0;
        for (size_t i = 0; i < suits.size(); i++) {
            const FrameCapture& capture = *suits[i].capture;
            frames += capture.Recorded();
            dropped += VarnelGetDropped(suits[i].suit);
            if (!running[i])
                continue;
            if (stopped)
                end(i, TakeEnd::Stopped);
            else if (capture.LimitReached() || timeUp)
                end(i, TakeEnd::Limit);
            else if (capture.OutOfMemory())
                end(i, TakeEnd::OutOfMemory);
            else if (silences[i].SilentSeconds(now) > options.silenceSeconds)
                end(i, TakeEnd::Silent);
        }
        if (terminal && left > 0 && now - lastProgress >= ProgressNanoseconds) {
            std::fprintf(out, "\r%s", FormatProgress(frames, SecondsSince(start), dropped).c_str());
            std::fflush(out);
            lastProgress = now;
        }
    }
}
