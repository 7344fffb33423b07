#include "tools/record/recorder.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/network_address.h"
#include "tools/cli/printable_text.h"
#include "tools/record/recovery_file.h"

#include <arpa/inet.h>
#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;
constexpr int64_t ProgressNanoseconds = 250'000'000;

// Shared with the frame callback, which runs on the library's receive
// thread with the library lock held: it only appends and counts.
struct Capture {
    Skeleton* take = nullptr;
    uint64_t frameLimit = 0; // 0: none
    std::atomic<bool> recording{false};
    std::atomic<uint64_t> delivered{0}; // every frame the suit produced
    std::atomic<uint64_t> recorded{0};
    // A silent suit ends the take only after the silence: the take's time
    // ends at its last frame.
    std::atomic<int64_t> lastFrameAt{0};
    std::atomic<bool> limitReached{false};
    std::atomic<bool> outOfMemory{false};
};
Capture capture;

void OnFrame(const SkeletonFrame* pose, VarnelHandle)
{
    capture.delivered.fetch_add(1);
    if (!capture.recording.load())
        return;
    Skeleton* take = capture.take;
    if (capture.frameLimit != 0 && uint64_t(take->numFrames) >= capture.frameLimit) {
        capture.limitReached.store(true);
        return;
    }
    if (!VarnelAddFrame(take)) {
        capture.outOfMemory.store(true);
        capture.recording.store(false);
        return;
    }
    take->frames[take->numFrames - 1] = *pose;
    capture.lastFrameAt.store(MonotonicNanoseconds());
    capture.recorded.store(uint64_t(take->numFrames));
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

// The suit to record: the one at the chosen address, else the first.
bool ChooseSuit(const RecordOptions& options, int count, SuitInfo* chosen, std::FILE* errors)
{
    uint32_t address = 0;
    if (options.suitGiven) {
        std::string error = ResolveIpv4(options.suit.host, &address);
        if (!error.empty()) {
            std::fprintf(errors, "varnel record: %s\n", error.c_str());
            return false;
        }
    }
    for (int index = 0; index < count; index++) {
        SuitInfo info;
        if (!VarnelEnumerateSuitInfo(index, &info))
            continue;
        if (!options.suitGiven ||
            (info.address == address && info.port == htons(options.suit.port))) {
            *chosen = info;
            return true;
        }
    }
    std::fprintf(errors, "varnel record: no suit sends from %s:%u (%d suit%s found)\n",
                 options.suit.host.c_str(), unsigned(options.suit.port), count,
                 count == 1 ? "" : "s");
    return false;
}

// Seconds counted down on one line; false if a stop came first.
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

// Waits for the suit's first datagram, which the calibration needs.
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

enum class TakeEnd { Limit, Stopped, Silent, OutOfMemory };

// Keeps the progress line fresh until the take ends.
TakeEnd Record(const RecordOptions& options, VarnelHandle suit, int64_t start,
               const std::atomic<bool>& stopRequested, std::FILE* out)
{
    bool terminal = isatty(fileno(out));
    int64_t lastProgress = 0;
    uint64_t lastDelivered = capture.delivered.load();
    int64_t lastHeard = start;
    for (;;) {
        if (!Pause(stopRequested))
            return TakeEnd::Stopped;
        int64_t now = MonotonicNanoseconds();
        if (capture.limitReached.load())
            return TakeEnd::Limit;
        if (options.seconds > 0.0 && SecondsSince(start) >= options.seconds)
            return TakeEnd::Limit;
        if (capture.outOfMemory.load())
            return TakeEnd::OutOfMemory;
        uint64_t delivered = capture.delivered.load();
        if (delivered != lastDelivered) {
            lastDelivered = delivered;
            lastHeard = now;
        } else if (double(now - lastHeard) / NanosecondsPerSecond > options.silenceSeconds) {
            return TakeEnd::Silent;
        }
        if (terminal && now - lastProgress >= ProgressNanoseconds) {
            std::fprintf(
                out, "\r%s",
                FormatProgress(capture.recorded.load(), SecondsSince(start), VarnelGetDropped(suit))
                    .c_str());
            std::fflush(out);
            lastProgress = now;
        }
    }
}

// Whether a file can be created in the folder of path (the BVH writer
// writes a temporary file there and renames it).
bool CanWriteBeside(const std::string& path)
{
    std::string::size_type slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

// A folder, or a name only a folder can have, never becomes the take's file.
bool IsFolderName(const std::string& path)
{
    std::error_code error;
    return path.ends_with('/') || std::filesystem::is_directory(path, error);
}

// The take in its file or, failing that, in a recovery file: a take that
// cannot be recorded again is never dropped. False unless in its file.
bool SaveTake(const Skeleton& take, const std::string& path, std::FILE* out, std::FILE* errors)
{
    // A failed write has been reported by the library.
    if (VarnelWriteBVH(path.c_str(), &take)) {
        std::fprintf(out, "Wrote %s\n", path.c_str());
        return true;
    }
    std::string recovery = WriteRecoveryFile(take, path);
    if (recovery.empty())
        std::fprintf(errors,
                     "varnel record: cannot write %s, nor a recovery file; the take is lost\n",
                     path.c_str());
    else
        std::fprintf(errors, "varnel record: cannot write %s; the take was written to %s\n",
                     path.c_str(), recovery.c_str());
    return false;
}

// Ends the library on every way out of a recording.
struct LibrarySession {
    ~LibrarySession() { VarnelFinish(); }
};
} // namespace

int RecordTake(const RecordOptions& options, const std::atomic<bool>& stopRequested, Skeleton& take,
               TakeSummary& summary, std::FILE* out, std::FILE* errors)
{
    VarnelFreeSkeletonFrames(&take);
    summary = TakeSummary{};
    ActorData actor;
    if (!options.actorPath.empty() && !VarnelReadActorData(options.actorPath.c_str(), &actor)) {
        std::fprintf(errors, "varnel record: cannot read the actor file %s\n",
                     options.actorPath.c_str());
        return 1;
    }
    // A failure to start has been reported by the library.
    if (!VarnelInit())
        return 2;
    LibrarySession session;
    std::fprintf(out, "Looking for suits...\n");
    std::fflush(out);
    int count = VarnelFindSuits();
    if (count < 0) {
        std::fprintf(errors, "varnel record: the library refused to look for suits\n");
        return 2;
    }
    if (count == 0) {
        std::fprintf(out, "No Varnel suits detected\n");
        return 1;
    }
    SuitInfo info;
    if (!ChooseSuit(options, count, &info, errors))
        return 1;
    VarnelHandle suit = VarnelOpen(&info, OnFrame, nullptr);
    if (!suit) {
        std::fprintf(errors, "varnel record: cannot open the suit at %s\n",
                     SuitAddress(info).c_str());
        return 1;
    }
    if (!options.actorPath.empty())
        VarnelSetActorData(suit, &actor);
    const std::string name = PrintableSuitName(info);
    if (options.positionSensor) {
        if (!(info.flags & SUIT_HAS_POSITION_SENSOR)) {
            std::fprintf(errors, "varnel record: the suit \"%s\" has no position sensor\n",
                         name.c_str());
            return 1;
        }
        VarnelEnablePositionSensor(suit, 1);
    }
    if (options.floorGiven)
        VarnelSetFloor(options.floor);
    summary.nominalRate = VarnelGetFrameRate(suit);
    std::fprintf(out, "Recording \"%s\" at %s (%g frames/s)\n", name.c_str(),
                 SuitAddress(info).c_str(), summary.nominalRate);
    std::fflush(out);

    if (!CountDown(options.countdownSeconds, stopRequested, out) ||
        !WaitForData(suit, options.silenceSeconds, stopRequested)) {
        if (stopRequested.load()) {
            std::fprintf(errors, "varnel record: stopped before the take began\n");
            return 1;
        }
        std::fprintf(errors, "varnel record: the suit \"%s\" sent nothing for %g s\n", name.c_str(),
                     options.silenceSeconds);
        return 1;
    }

    VarnelGetActorData(suit, &actor);
    VarnelCopyActorToSkeleton(&take, &actor);
    take.frameTime = 1.0f / summary.nominalRate;
    capture.take = &take;
    capture.frameLimit = options.frames;
    capture.recorded.store(0);
    capture.limitReached.store(false);
    capture.outOfMemory.store(false);
    VarnelSetNull(suit);
    VarnelClearDropped(suit);
    int64_t start = MonotonicNanoseconds();
    capture.recording.store(true);
    TakeEnd end = Record(options, suit, start, stopRequested, out);
    capture.recording.store(false);
    summary.dropped = VarnelGetDropped(suit);
    // No frame callback appends after VarnelFinish, so the take is read only then.
    VarnelFinish();
    summary.frames = uint64_t(take.numFrames);
    if (summary.frames > 0)
        summary.seconds = double(capture.lastFrameAt.load() - start) / NanosecondsPerSecond;
    if (isatty(fileno(out)))
        std::fprintf(out, "\r\033[K");

    switch (end) {
    case TakeEnd::Limit:
    case TakeEnd::Stopped: return 0;
    case TakeEnd::Silent:
        std::fprintf(errors, "varnel record: the suit \"%s\" stopped sending; the take ends\n",
                     name.c_str());
        return 1;
    case TakeEnd::OutOfMemory:
        std::fprintf(errors, "varnel record: out of memory for frames; the take ends\n");
        return 1;
    }
    return 1;
}

int RunRecord(const RecordOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors)
{
    // Found out now rather than after a long take.
    if (IsFolderName(options.outputPath)) {
        std::fprintf(errors, "varnel record: cannot write %s: it is a folder\n",
                     options.outputPath.c_str());
        return 1;
    }
    if (!CanWriteBeside(options.outputPath)) {
        std::fprintf(errors, "varnel record: cannot write %s: its folder is missing or read-only\n",
                     options.outputPath.c_str());
        return 1;
    }
    Skeleton take;
    VarnelInitSkeleton(&take);
    TakeSummary summary;
    int status = RecordTake(options, stopRequested, take, summary, out, errors);
    if (take.numFrames > 0) {
        std::fprintf(out, "%s\n", FormatSummary(summary).c_str());
        if (!SaveTake(take, options.outputPath, out, errors))
            status = 1;
    } else if (status == 0) {
        std::fprintf(errors, "varnel record: no frame was recorded; %s not written\n",
                     options.outputPath.c_str());
        status = 1;
    }
    VarnelFreeSkeletonFrames(&take);
    return status;
}
