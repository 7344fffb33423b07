#include "tools/record/recorder.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/network_address.h"
#include "tools/cli/printable_text.h"
#include "tools/record/frame_capture.h"
#include "tools/record/take_output.h"
#include "tools/record/take_waits.h"

#include <arpa/inet.h>
#include <optional>
#include <unistd.h>

namespace {
// How a recording ends: its exit status and what the user is told. An
// error goes to errors after the command's name, an answer to the output as
// it is; a status alone adds nothing (a success, or a failure the library
// has reported).
struct Ending {
    int status = 0;
    std::string message;
    bool isAnswer = false;
};

Ending StatusOnly(int status)
{
    return {status, "", false};
}

Ending Error(std::string message, int status = 1)
{
    return {status, std::move(message), false};
}

Ending Answer(std::string message)
{
    return {1, std::move(message), true};
}

int Report(const Ending& ending, std::FILE* out, std::FILE* errors)
{
    if (ending.isAnswer)
        std::fprintf(out, "%s\n", ending.message.c_str());
    else if (!ending.message.empty())
        std::fprintf(errors, "varnel record: %s\n", ending.message.c_str());
    return ending.status;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// One recording, step by step. A step that fails returns how the recording
// ends; the library, once started, is finished on every way out.
class TakeRecorder {
  public:
    TakeRecorder(const RecordOptions& options, const std::atomic<bool>& stopRequested,
                 TakeSummary& summary, std::FILE* out)
        : options(options), stopRequested(stopRequested), summary(summary), out(out)
    {
    }
    ~TakeRecorder()
    {
        if (libraryStarted)
            VarnelFinish();
    }
    TakeRecorder(const TakeRecorder&) = delete;
    TakeRecorder& operator=(const TakeRecorder&) = delete;

    std::optional<Ending> ReadActorFile();
    std::optional<Ending> FindAndOpenSuit();
    std::optional<Ending> PrepareSuit();
    std::optional<Ending> CountDownAndWaitForData();
    TakeEnd Capture(Skeleton& take);
    Ending Finish(TakeEnd end, const Skeleton& take);

  private:
    std::optional<Ending> ChooseSuit(int count);

    const RecordOptions& options;
    const std::atomic<bool>& stopRequested;
    TakeSummary& summary;
    std::FILE* out;
    bool libraryStarted = false;
    ActorData actor;
    SuitInfo info;
    VarnelHandle suit = nullptr;
    std::string name;
    int64_t start = 0;
};

std::optional<Ending> TakeRecorder::ReadActorFile()
{
    if (!options.actorPath.empty() && !VarnelReadActorData(options.actorPath.c_str(), &actor))
        return Error("cannot read the actor file " + options.actorPath);
    return std::nullopt;
}

std::optional<Ending> TakeRecorder::FindAndOpenSuit()
{
    // A failure to start has been reported by the library.
    if (!VarnelInit())
        return StatusOnly(2);
    libraryStarted = true;
    std::fprintf(out, "Looking for suits...\n");
    std::fflush(out);
    int count = VarnelFindSuits();
    if (count < 0)
        return Error("the library refused to look for suits", 2);
    if (count == 0)
        return Answer("No Varnel suits detected");
    if (std::optional<Ending> failure = ChooseSuit(count))
        return failure;
    suit = VarnelOpen(&info, FrameCapture::OnFrame, nullptr);
    if (!suit)
        return Error("cannot open the suit at " + SuitAddress(info));
    name = PrintableSuitName(info);
    return std::nullopt;
}

// The suit to record: the one at the chosen address, else the first.
std::optional<Ending> TakeRecorder::ChooseSuit(int count)
{
    uint32_t address = 0;
    if (options.suitGiven) {
        std::string error = ResolveIpv4(options.suit.host, &address);
        if (!error.empty())
            return Error(error);
    }
    for (int index = 0; index < count; index++) {
        if (!VarnelEnumerateSuitInfo(index, &info))
            continue;
        if (!options.suitGiven ||
            (info.address == address && info.port == htons(options.suit.port)))
            return std::nullopt;
    }
    return Error("no suit sends from " + options.suit.host + ":" +
                 std::to_string(options.suit.port) + " (" + std::to_string(count) + " suit" +
                 (count == 1 ? "" : "s") + " found)");
}

std::optional<Ending> TakeRecorder::PrepareSuit()
{
    if (!options.actorPath.empty())
        VarnelSetActorData(suit, &actor);
    if (options.positionSensor) {
        if (!(info.flags & SUIT_HAS_POSITION_SENSOR))
            return Error("the suit \"" + name + "\" has no position sensor");
        VarnelEnablePositionSensor(suit, 1);
    }
    if (options.floorGiven)
        VarnelSetFloor(options.floor);
    summary.nominalRate = VarnelGetFrameRate(suit);
    std::fprintf(out, "Recording \"%s\" at %s (%g frames/s)\n", name.c_str(),
                 SuitAddress(info).c_str(), summary.nominalRate);
    std::fflush(out);
    return std::nullopt;
}

std::optional<Ending> TakeRecorder::CountDownAndWaitForData()
{
    if (CountDown(options.countdownSeconds, stopRequested, out) &&
        WaitForData(suit, options.silenceSeconds, stopRequested))
        return std::nullopt;
    if (stopRequested.load())
        return Error("stopped before the take began");
    return Error("the suit \"" + name + "\" sent nothing for " + Number(options.silenceSeconds) +
                 " s");
}

// Calibrates on the null pose and records until the take ends.
TakeEnd TakeRecorder::Capture(Skeleton& take)
{
    VarnelGetActorData(suit, &actor);
    VarnelCopyActorToSkeleton(&take, &actor);
    take.frameTime = 1.0f / summary.nominalRate;
    VarnelSetNull(suit);
    VarnelClearDropped(suit);
    start = MonotonicNanoseconds();
    FrameCapture& capture = FrameCapture::Instance();
    capture.Start(take, options.frames);
    TakeEnd end = WatchTake(options, suit, capture, start, stopRequested, out);
    capture.Stop();
    return end;
}

Ending TakeRecorder::Finish(TakeEnd end, const Skeleton& take)
{
    summary.dropped = VarnelGetDropped(suit);
    // No frame callback appends after VarnelFinish, so the take is read only then.
    VarnelFinish();
    summary.frames = uint64_t(take.numFrames);
    if (summary.frames > 0)
        summary.seconds =
            double(FrameCapture::Instance().LastFrameAt() - start) / NanosecondsPerSecond;
    if (isatty(fileno(out)))
        std::fprintf(out, "\r\033[K");
    switch (end) {
    case TakeEnd::Limit:
    case TakeEnd::Stopped: return StatusOnly(0);
    case TakeEnd::Silent: return Error("the suit \"" + name + "\" stopped sending; the take ends");
    case TakeEnd::OutOfMemory: return Error("out of memory for frames; the take ends");
    }
    return StatusOnly(1);
}
} // namespace

int RecordTake(const RecordOptions& options, const std::atomic<bool>& stopRequested, Skeleton& take,
               TakeSummary& summary, std::FILE* out, std::FILE* errors)
{
    VarnelFreeSkeletonFrames(&take);
    summary = TakeSummary{};
    TakeRecorder recorder(options, stopRequested, summary, out);
    std::optional<Ending> failure = recorder.ReadActorFile();
    if (!failure)
        failure = recorder.FindAndOpenSuit();
    if (!failure)
        failure = recorder.PrepareSuit();
    if (!failure)
        failure = recorder.CountDownAndWaitForData();
    if (failure)
        return Report(*failure, out, errors);
    TakeEnd end = recorder.Capture(take);
    return Report(recorder.Finish(end, take), out, errors);
}

int RunRecord(const RecordOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors)
{
    std::string problem = OutputPathProblem(options.outputPath);
    if (!problem.empty()) {
        std::fprintf(errors, "varnel record: cannot write %s: %s\n", options.outputPath.c_str(),
                     problem.c_str());
        return 1;
    }
    // With the take on the standard output, what is said goes with the errors.
    std::FILE* takeOut = out;
    if (IsStandardOutput(options.outputPath))
        out = errors;
    Skeleton take;
    VarnelInitSkeleton(&take);
    TakeSummary summary;
    int status = RecordTake(options, stopRequested, take, summary, out, errors);
    if (take.numFrames > 0) {
        std::fprintf(out, "%s\n", FormatSummary(summary).c_str());
        bool saved = IsStandardOutput(options.outputPath)
                         ? SaveTakeTo(take, takeOut, out, errors, options.units)
                         : SaveTake(take, options.outputPath, out, errors, options.units);
        if (!saved)
            status = 1;
    } else if (status == 0) {
        std::fprintf(errors, "varnel record: no frame was recorded; %s not written\n",
                     options.outputPath.c_str());
        status = 1;
    }
    VarnelFreeSkeletonFrames(&take);
    return status;
}
