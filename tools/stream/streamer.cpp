#include "tools/stream/streamer.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/null_pose_calibration.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/silence_watch.h"
#include "tools/cli/tool_messages.h"
#include "tools/stream/vmc_sender.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;

// A suit of the stream: the library's side and its own sender.
struct StreamedSuit {
    ChosenSuit chosen;
    std::string name; // printable
    VarnelHandle handle = nullptr;
    std::vector<Destination> targets;
    VmcSender sender;
    std::atomic<uint64_t> delivered{0}; // every frame the suit produced
    bool running = true;
    bool silent = false;
    uint32_t dropped = 0; // by the library, before solving
};

// Which suit a frame belongs to. A frame callback carries no context, so it
// finds its suit here. Taken by the receive thread under the library lock:
// nothing here waits for the library.
class FrameFeed {
  public:
    FrameFeed() = default;
    // No frame reaches a suit once the feed is gone.
    ~FrameFeed()
    {
        std::lock_guard<std::mutex> hold(lock);
        fed.clear();
    }
    FrameFeed(const FrameFeed&) = delete;
    FrameFeed& operator=(const FrameFeed&) = delete;

    void Attach(StreamedSuit& suit)
    {
        std::lock_guard<std::mutex> hold(lock);
        fed.push_back(&suit);
    }

    static void OnFrame(const SkeletonFrame* pose, VarnelHandle handle)
    {
        std::lock_guard<std::mutex> hold(lock);
        for (StreamedSuit* suit : fed)
            if (suit->handle == handle) {
                suit->delivered.fetch_add(1);
                suit->sender.Offer(*pose);
            }
    }

  private:
    static inline std::mutex lock;
    static inline std::vector<StreamedSuit*> fed;
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

std::string Targets(const std::vector<Destination>& targets)
{
    std::string text;
    for (const Destination& target : targets)
        text += (text.empty() ? "" : ", ") + target.host + ":" + std::to_string(target.port);
    return text;
}

// Watches the streams until a limit or a stop, ending a suit's stream when
// it falls silent; the others go on.
void Watch(const StreamOptions& options, std::vector<std::unique_ptr<StreamedSuit>>& suits,
           const std::atomic<bool>& stopRequested)
{
    int64_t start = MonotonicNanoseconds();
    std::vector<SilenceWatch> silences;
    for (const auto& suit : suits)
        silences.emplace_back([suit = suit.get()] { return suit->delivered.load(); }, start);
    size_t left = suits.size();
    while (left > 0 && !stopRequested.load()) {
        SleepUntil(MonotonicNanoseconds() + PollNanoseconds);
        int64_t now = MonotonicNanoseconds();
        if (options.seconds > 0.0 && double(now - start) / NanosecondsPerSecond >= options.seconds)
            return;
        for (size_t i = 0; i < suits.size(); i++) {
            StreamedSuit& suit = *suits[i];
            if (!suit.running)
                continue;
            suit.silent = silences[i].SilentSeconds(now) > options.silenceSeconds;
            if (suit.sender.LimitReached() || suit.silent) {
                suit.running = false;
                left--;
            }
        }
    }
}

class Streamer {
  public:
    Streamer(const StreamOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
             std::FILE* errors)
        : options(options), stopRequested(stopRequested), out(out), errors(errors)
    {
    }
    int Run();

  private:
    int Fail(const std::string& problem, int status = 1)
    {
        std::fputs(PrefixLines("stream", problem).c_str(), errors);
        return status;
    }
    int FindSuits();
    int OpenSuits();
    void Report(const StreamedSuit& suit, double seconds);

    const StreamOptions& options;
    const std::atomic<bool>& stopRequested;
    std::FILE* out;
    std::FILE* errors;
    ActorData actor{};
    LibraryRun library;
    std::vector<std::unique_ptr<StreamedSuit>> suits;
    FrameFeed feed;
};

int Streamer::FindSuits()
{
    // A failure to start has been reported by the library.
    if (!VarnelInit())
        return 2;
    library.started = true;
    std::fprintf(out, "Looking for suits...\n");
    std::fflush(out);
    int count = VarnelFindSuits();
    if (count < 0)
        return Fail("the library refused to look for suits", 2);
    if (count == 0) {
        std::fprintf(out, "No Varnel suits detected\n");
        return 1;
    }
    std::vector<ChosenSuit> chosen;
    int status = 1;
    std::string error = ChooseSuits(options, count, chosen, &status);
    if (!error.empty())
        return Fail(error, status);
    for (size_t k = 0; k < chosen.size(); k++) {
        auto suit = std::make_unique<StreamedSuit>();
        suit->chosen = chosen[k];
        suit->name = PrintableSuitName(chosen[k].info);
        error = SuitTargets(options.targets, k, &suit->targets);
        if (error.empty())
            error = suit->sender.Open(suit->targets);
        if (!error.empty())
            return Fail(error, 2);
        suits.push_back(std::move(suit));
    }
    return 0;
}

int Streamer::OpenSuits()
{
    if (options.floorGiven)
        VarnelSetFloor(options.floor);
    for (const auto& suit : suits) {
        const SuitInfo& info = suit->chosen.info;
        suit->handle = VarnelOpen(&info, FrameFeed::OnFrame, nullptr);
        if (!suit->handle)
            return Fail("cannot open the suit at " + SuitAddress(info));
        feed.Attach(*suit);
        std::string problem = SetUpOpenedSuit(suit->handle, info, options, actor, suit->name);
        if (!problem.empty())
            return Fail(problem);
        std::fprintf(out, "Streaming \"%s\" at %s (%g frames/s) to %s\n", suit->name.c_str(),
                     SuitAddress(info).c_str(), VarnelGetFrameRate(suit->handle),
                     Targets(suit->targets).c_str());
    }
    std::fflush(out);
    return 0;
}

void Streamer::Report(const StreamedSuit& suit, double seconds)
{
    const VmcSender& sender = suit.sender;
    if (suits.size() > 1)
        std::fprintf(out, "\"%s\": ", suit.name.c_str());
    std::fprintf(out,
                 "%llu frames streamed in %.2f s (%.1f frames/s): %llu sent to every target, "
                 "%llu skipped by the sender, %u dropped before solving, %llu sends failed\n",
                 (unsigned long long)sender.Offered(), seconds,
                 seconds > 0.0 ? double(sender.Offered()) / seconds : 0.0,
                 (unsigned long long)sender.Sent(), (unsigned long long)sender.Skipped(),
                 suit.dropped, (unsigned long long)sender.Failures());
}

int Streamer::Run()
{
    if (!options.actorPath.empty() && !VarnelReadActorData(options.actorPath.c_str(), &actor))
        return Fail("cannot read the actor file " + options.actorPath);
    // Every target is resolved before any suit is looked for, so a bad name
    // is told at once.
    {
        VmcSender probe;
        std::string error = probe.Open(options.targets);
        if (!error.empty())
            return Fail(error);
    }
    if (int status = FindSuits())
        return status;
    if (int status = OpenSuits())
        return status;

    std::vector<CalibratingSuit> calibrating;
    for (const auto& suit : suits)
        calibrating.push_back(
            {suit->handle, suit->name, [suit = suit.get()] { return suit->delivered.load(); }});
    std::string problem = CalibrateOnNullPose(
        calibrating, options, {"stream", "stream", "streamed"}, stopRequested, errors);
    if (!problem.empty())
        return Fail(problem);

    int64_t start = MonotonicNanoseconds();
    for (const auto& suit : suits) {
        Skeleton body;
        VarnelInitSkeleton(&body);
        ActorData calibrated;
        VarnelGetActorData(suit->handle, &calibrated);
        VarnelCopyActorToSkeleton(&body, &calibrated);
        VarnelFreeSkeletonFrames(&body);
        VarnelClearDropped(suit->handle);
        suit->sender.Start(body, options.frames);
    }
    Watch(options, suits, stopRequested);
    for (const auto& suit : suits)
        suit->dropped = VarnelGetDropped(suit->handle);
    // No frame callback runs after this: the senders get nothing more.
    VarnelFinish();
    library.started = false;
    for (const auto& suit : suits)
        suit->sender.Stop();
    double seconds = double(MonotonicNanoseconds() - start) / NanosecondsPerSecond;
    int status = 0;
    for (const auto& suit : suits)
        Report(*suit, seconds);
    for (const auto& suit : suits)
        if (suit->silent) {
            Fail("the suit \"" + suit->name + "\" stopped sending; " +
                 (suits.size() == 1 ? "the" : "its") + " stream ends");
            status = 1;
        }
    return status;
}
} // namespace

int RunStream(const StreamOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors)
{
    return Streamer(options, stopRequested, out, errors).Run();
}
