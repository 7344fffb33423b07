#include "tools/stream/streamer.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/tool_messages.h"
#include "tools/stream/vmc_sender.h"

#include <mutex>
#include <optional>
#include <string>

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;

// Which sender the suit's frames go to. A frame callback carries no context,
// so it finds it here. Taken by the receive thread under the library lock:
// nothing here waits for the library.
class FrameFeed {
  public:
    FrameFeed(VarnelHandle suit, VmcSender& sender)
    {
        std::lock_guard<std::mutex> hold(lock);
        feedSuit = suit;
        feedSender = &sender;
        delivered.store(0);
    }
    // No frame reaches the sender once the feed is gone.
    ~FrameFeed()
    {
        std::lock_guard<std::mutex> hold(lock);
        feedSuit = nullptr;
        feedSender = nullptr;
    }
    FrameFeed(const FrameFeed&) = delete;
    FrameFeed& operator=(const FrameFeed&) = delete;

    static void OnFrame(const SkeletonFrame* pose, VarnelHandle suit)
    {
        std::lock_guard<std::mutex> hold(lock);
        if (suit != feedSuit || !feedSender)
            return;
        delivered.fetch_add(1);
        feedSender->Offer(*pose);
    }
    // Every frame the suit produced since the feed began.
    static uint64_t Delivered() { return delivered.load(); }

  private:
    static inline std::mutex lock;
    static inline VarnelHandle feedSuit = nullptr;
    static inline VmcSender* feedSender = nullptr;
    static inline std::atomic<uint64_t> delivered{0};
};

// The library for the duration of a stream.
struct LibraryRun {
    bool started = false;
    ~LibraryRun()
    {
        if (started)
            VarnelFinish();
    }
};

std::string Targets(const StreamOptions& options)
{
    std::string text;
    for (const Destination& target : options.targets)
        text += (text.empty() ? "" : ", ") + target.host + ":" + std::to_string(target.port);
    return text;
}

// Watches the stream until a limit, a stop or the suit's silence; false for
// the silence.
bool Watch(const StreamOptions& options, const VmcSender& sender,
           const std::atomic<bool>& stopRequested)
{
    int64_t start = MonotonicNanoseconds();
    int64_t lastHeard = start;
    uint64_t lastDelivered = FrameFeed::Delivered();
    while (!stopRequested.load() && !sender.LimitReached()) {
        SleepUntil(MonotonicNanoseconds() + PollNanoseconds);
        int64_t now = MonotonicNanoseconds();
        if (options.seconds > 0.0 && double(now - start) / NanosecondsPerSecond >= options.seconds)
            break;
        uint64_t delivered = FrameFeed::Delivered();
        if (delivered != lastDelivered) {
            lastDelivered = delivered;
            lastHeard = now;
        } else if (double(now - lastHeard) / NanosecondsPerSecond > options.silenceSeconds) {
            return false;
        }
    }
    return true;
}

int Fail(std::FILE* errors, const std::string& problem, int status = 1)
{
    std::fputs(PrefixLines("stream", problem).c_str(), errors);
    return status;
}
} // namespace

int RunStream(const StreamOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors)
{
    ActorData actor;
    if (!options.actorPath.empty() && !VarnelReadActorData(options.actorPath.c_str(), &actor))
        return Fail(errors, "cannot read the actor file " + options.actorPath);
    VmcSender sender;
    std::string error = sender.Open(options.targets);
    if (!error.empty())
        return Fail(errors, error);

    LibraryRun library;
    // A failure to start has been reported by the library.
    if (!VarnelInit())
        return 2;
    library.started = true;
    std::fprintf(out, "Looking for suits...\n");
    std::fflush(out);
    int count = VarnelFindSuits();
    if (count < 0)
        return Fail(errors, "the library refused to look for suits", 2);
    if (count == 0) {
        std::fprintf(out, "No Varnel suits detected\n");
        return 1;
    }
    int index = 0;
    SuitInfo info;
    if (options.suit) {
        error = FindChosenSuit(*options.suit, count, &index, &info);
        if (!error.empty())
            return Fail(errors, error);
    } else if (!VarnelEnumerateSuitInfo(0, &info)) {
        return Fail(errors, "the suit table changed while the suit was chosen");
    }

    if (options.floorGiven)
        VarnelSetFloor(options.floor);
    VarnelHandle suit = VarnelOpen(&info, FrameFeed::OnFrame, nullptr);
    if (!suit)
        return Fail(errors, "cannot open the suit at " + SuitAddress(info));
    std::string name = PrintableSuitName(info);
    FrameFeed feed(suit, sender);
    if (!options.actorPath.empty())
        VarnelSetActorData(suit, &actor);
    if (options.positionSensor) {
        if (!(info.flags & SUIT_HAS_POSITION_SENSOR))
            return Fail(errors, "the suit \"" + name + "\" has no position sensor");
        VarnelEnablePositionSensor(suit, 1);
    }
    std::fprintf(out, "Streaming \"%s\" at %s (%g frames/s) to %s\n", name.c_str(),
                 SuitAddress(info).c_str(), VarnelGetFrameRate(suit), Targets(options).c_str());
    std::fflush(out);

    if (!CountDown("stream", options.countdownSeconds, stopRequested, errors))
        return Fail(errors, "stopped before the stream began");
    if (!WaitForData(suit, options.silenceSeconds, stopRequested))
        return stopRequested.load() ? Fail(errors, "stopped before the stream began")
                                    : Fail(errors, "the suit \"" + name + "\" sent nothing");
    VarnelSetNull(suit);

    Skeleton body;
    VarnelInitSkeleton(&body);
    VarnelGetActorData(suit, &actor);
    VarnelCopyActorToSkeleton(&body, &actor);
    VarnelFreeSkeletonFrames(&body);
    VarnelClearDropped(suit);
    int64_t start = MonotonicNanoseconds();
    sender.Start(body, options.frames);
    bool heard = Watch(options, sender, stopRequested);
    uint32_t dropped = VarnelGetDropped(suit);
    // No frame callback runs after this: the sender gets nothing more.
    VarnelFinish();
    library.started = false;
    sender.Stop();
    double seconds = double(MonotonicNanoseconds() - start) / NanosecondsPerSecond;

    std::fprintf(out,
                 "%llu frames streamed in %.2f s (%.1f frames/s): %llu sent to every target, "
                 "%llu skipped by the sender, %u dropped before solving, %llu sends failed\n",
                 (unsigned long long)sender.Offered(), seconds,
                 seconds > 0.0 ? double(sender.Offered()) / seconds : 0.0,
                 (unsigned long long)sender.Sent(), (unsigned long long)sender.Skipped(), dropped,
                 (unsigned long long)sender.Failures());
    if (!heard)
        return Fail(errors, "the suit \"" + name + "\" stopped sending; the stream ends");
    return 0;
}
