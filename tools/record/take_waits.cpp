#include "tools/record/take_waits.h"

#include "tools/cli/monotonic_clock.h"
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

// Tells when frames stop coming.
class SilenceWatch {
  public:
    SilenceWatch(const FrameCapture& capture, int64_t start)
        : capture(capture), lastDelivered(capture.Delivered()), lastHeard(start)
    {
    }
    double SilentSeconds(int64_t now)
    {
        uint64_t delivered = capture.Delivered();
        if (delivered != lastDelivered) {
            lastDelivered = delivered;
            lastHeard = now;
        }
        return double(now - lastHeard) / NanosecondsPerSecond;
    }

  private:
    const FrameCapture& capture;
    uint64_t lastDelivered;
    int64_t lastHeard;
};
} // namespace

bool CountDown(double seconds, const std::atomic<bool>& stopRequested, std::FILE* out)
{
    if (seconds <= 0.0)
        return true;
    int64_t end = MonotonicNanoseconds() + int64_t(seconds * NanosecondsPerSecond);
    std::fprintf(out, "Take the null pose:");
    int shown = -1;
    for (;;) {
        int64_t left = end - MonotonicNanoseconds();
        if (left <= 0)
            break;
        int whole = int(std::ceil(double(left) / NanosecondsPerSecond));
        if (whole != shown) {
            std::fprintf(out, " %d", whole);
            std::fflush(out);
            shown = whole;
        }
        if (!Pause(stopRequested)) {
            std::fprintf(out, "\n");
            return false;
        }
    }
    std::fprintf(out, "\n");
    return true;
}

bool WaitForData(VarnelHandle suit, double seconds, const std::atomic<bool>& stopRequested)
{
    int64_t start = MonotonicNanoseconds();
    SkeletonFrame pose;
    while (!VarnelRead(suit, &pose)) {
        if (SecondsSince(start) > seconds || !Pause(stopRequested))
            return false;
    }
    return true;
}

TakeEnd WatchTake(const RecordOptions& options, VarnelHandle suit, const FrameCapture& capture,
                  int64_t start, const std::atomic<bool>& stopRequested, std::FILE* out)
{
    bool terminal = isatty(fileno(out));
    int64_t lastProgress = 0;
    SilenceWatch silence(capture, start);
    for (;;) {
        if (!Pause(stopRequested))
            return TakeEnd::Stopped;
        int64_t now = MonotonicNanoseconds();
        if (capture.LimitReached())
            return TakeEnd::Limit;
        if (options.seconds > 0.0 && SecondsSince(start) >= options.seconds)
            return TakeEnd::Limit;
        if (capture.OutOfMemory())
            return TakeEnd::OutOfMemory;
        if (silence.SilentSeconds(now) > options.silenceSeconds)
            return TakeEnd::Silent;
        if (terminal && now - lastProgress >= ProgressNanoseconds) {
            std::fprintf(
                out, "\r%s",
                FormatProgress(capture.Recorded(), SecondsSince(start), VarnelGetDropped(suit))
                    .c_str());
            std::fflush(out);
            lastProgress = now;
        }
    }
}
