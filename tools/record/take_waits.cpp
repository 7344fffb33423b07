#include "tools/record/take_waits.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/tool_messages.h"
#include "tools/record/record_report.h"
#include "tools/record/still_check.h"

#include <cmath>
#include <unistd.h>

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;
constexpr int64_t ProgressNanoseconds = 250'000'000;

int64_t Nanoseconds(double seconds)
{
    return int64_t(seconds * NanosecondsPerSecond);
}

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

// Tells when frames stop coming, and whether one has come since last asked.
class SilenceWatch {
  public:
    SilenceWatch(const FrameCapture& capture, int64_t start)
        : capture(&capture), lastDelivered(capture.Delivered()), lastHeard(start)
    {
    }
    // True when a frame came since the last call.
    bool Heard(int64_t now)
    {
        uint64_t delivered = capture->Delivered();
        if (delivered == lastDelivered)
            return false;
        lastDelivered = delivered;
        lastHeard = now;
        return true;
    }
    double SilentSeconds(int64_t now)
    {
        Heard(now);
        return double(now - lastHeard) / NanosecondsPerSecond;
    }

  private:
    const FrameCapture* capture;
    uint64_t lastDelivered;
    int64_t lastHeard;
};

void TellMoving(const std::vector<SessionSuit>& suits, size_t suit, std::FILE* errors)
{
    std::string which = suits.size() == 1 ? "the suit" : "the suit \"" + suits[suit].name + "\"";
    std::fputs(PrefixLines("record", which + " is moving; hold the null pose still").c_str(),
               errors);
    std::fflush(errors);
}
} // namespace

StillEnd CalibrateWhenStill(const std::vector<SessionSuit>& suits, const RecordOptions& options,
                            const std::atomic<bool>& stopRequested, std::FILE* errors,
                            size_t* culprit)
{
    const int64_t begin = MonotonicNanoseconds();
    std::vector<StillCheck> checks(suits.size());
    std::vector<SilenceWatch> silences;
    for (const SessionSuit& suit : suits)
        silences.emplace_back(*suit.capture, begin);
    std::vector<bool> told(suits.size(), false), calibrated(suits.size(), false);
    size_t left = suits.size();
    for (;;) {
        int64_t now = MonotonicNanoseconds();
        for (size_t i = 0; i < suits.size(); i++) {
            if (calibrated[i])
                continue;
            // Only a fresh reading counts: a suit that stopped sending is not still.
            if (!silences[i].Heard(now)) {
                if (silences[i].SilentSeconds(now) > options.silenceSeconds) {
                    *culprit = i;
                    return StillEnd::Silent;
                }
                continue;
            }
            RawChannels channels;
            VarnelGetRaw(suits[i].suit, channels.data());
            StillCheck::Verdict verdict = checks[i].Feed(now, channels);
            if (verdict == StillCheck::Verdict::Moved && !told[i]) {
                TellMoving(suits, i, errors);
                told[i] = true;
            } else if (verdict == StillCheck::Verdict::Still) {
                VarnelSetNull(suits[i].suit);
                calibrated[i] = true;
                left--;
            }
        }
        if (left == 0)
            return StillEnd::Calibrated;
        if (now - begin > Nanoseconds(options.stillLimitSeconds)) {
            for (size_t i = 0; i < suits.size(); i++)
                if (!calibrated[i])
                    *culprit = i;
            return StillEnd::TooLong;
        }
        if (!Pause(stopRequested))
            return StillEnd::Stopped;
    }
}

void WatchTakes(const RecordOptions& options, const std::vector<SessionSuit>& suits, int64_t start,
                const std::atomic<bool>& stopRequested, std::FILE* out, std::vector<TakeEnd>& ends)
{
    bool terminal = isatty(fileno(out));
    int64_t lastProgress = 0;
    std::vector<SilenceWatch> silences;
    for (const SessionSuit& suit : suits)
        silences.emplace_back(*suit.capture, start);
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
