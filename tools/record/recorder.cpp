#include "tools/record/recorder.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/network_address.h"
#include "tools/cli/null_pose_calibration.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/still_check.h"
#include "tools/cli/take_output.h"
#include "tools/record/frame_capture.h"
#include "tools/record/raw_capture.h"
#include "tools/record/take_paths.h"
#include "tools/record/take_waits.h"

#include <cstring>
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

// A suit of the session while it records: the library's side of its take.
struct LiveSuit {
    int index = 0; // as `varnel suits` prints it
    SuitInfo info{};
    VarnelHandle handle = nullptr;
    FrameCapture capture;
    SuitTake* take = nullptr;
    std::string rawPath; // empty: no raw take
    std::unique_ptr<RawTakeWriter> raw;
};

// One session, step by step. A step that fails returns how the recording
// ends; the library, once started, is finished on every way out.
class SessionRecorder {
  public:
    SessionRecorder(const RecordOptions& options, const std::atomic<bool>& stopRequested,
                    std::FILE* out, std::FILE* errors)
        : options(options), stopRequested(stopRequested), out(out), errors(errors)
    {
    }
    ~SessionRecorder()
    {
        if (libraryStarted)
            VarnelFinish();
        // No raw event comes once the library has finished.
        RawCapture::End();
    }
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;

    std::optional<Ending> ReadActorFile();
    std::optional<Ending> FindSuits(std::vector<std::unique_ptr<SuitTake>>& takes);
    std::optional<Ending> NameOutputs();
    std::optional<Ending> OpenAndPrepareSuits();
    std::optional<Ending> CountDownAndCalibrate();
    void Capture();
    Ending Finish();

  private:
    std::string Which(size_t suit) const;
    std::optional<Ending> NameRawTakes(const std::vector<TakePathSuit>& named);
    std::optional<Ending> OpenRawTake(LiveSuit& suit);
    Ending CloseRawTakes(Ending ending);
    std::vector<SessionSuit> Session();

    const RecordOptions& options;
    const std::atomic<bool>& stopRequested;
    std::FILE* out;
    std::FILE* errors;
    bool libraryStarted = false;
    ActorData actor;
    std::vector<std::unique_ptr<LiveSuit>> suits;
    std::vector<TakeEnd> ends;
    int64_t start = 0;
};

std::optional<Ending> SessionRecorder::ReadActorFile()
{
    if (!options.actorPath.empty() && !VarnelReadActorData(options.actorPath.c_str(), &actor))
        return Error("cannot read the actor file " + options.actorPath);
    return std::nullopt;
}

std::optional<Ending> SessionRecorder::FindSuits(std::vector<std::unique_ptr<SuitTake>>& takes)
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
    std::vector<ChosenSuit> chosen;
    int status = 1;
    std::string error = ChooseSuits(options, count, chosen, &status);
    if (!error.empty())
        return Error(error, status);
    if (chosen.size() > 1 && IsStandardOutput(options.outputPath))
        return Error("standard output takes one suit's take only (" + SuitCount(count) +
                         "); name a file or a pattern with {name} or {index}",
                     2);
    for (const auto& [index, info] : chosen) {
        auto suit = std::make_unique<LiveSuit>();
        suit->index = index;
        suit->info = info;
        takes.push_back(std::make_unique<SuitTake>());
        suit->take = takes.back().get();
        suit->take->name = PrintableSuitName(info);
        suits.push_back(std::move(suit));
    }
    return std::nullopt;
}

std::optional<Ending> SessionRecorder::NameOutputs()
{
    std::vector<TakePathSuit> named;
    for (const auto& suit : suits)
        named.push_back({suit->take->name, suit->index});
    if (std::optional<Ending> failure = NameRawTakes(named))
        return failure;
    if (options.outputPath.empty())
        return std::nullopt;
    if (IsStandardOutput(options.outputPath)) {
        suits[0]->take->path = options.outputPath;
        return std::nullopt;
    }
    std::vector<std::string> paths;
    std::string error = TakePaths(options.outputPath, named, &paths);
    if (!error.empty())
        return Error(error, 2);
    for (size_t i = 0; i < suits.size(); i++) {
        suits[i]->take->path = paths[i];
        std::string problem = OutputPathProblem(paths[i]);
        if (!problem.empty())
            return Error("cannot write " + paths[i] + ": " + problem);
        if (paths[i] == suits[i]->rawPath)
            return Error("the take and the raw take would both go to " + paths[i], 2);
    }
    return std::nullopt;
}

std::optional<Ending> SessionRecorder::NameRawTakes(const std::vector<TakePathSuit>& named)
{
    if (options.rawPath.empty())
        return std::nullopt;
    std::vector<std::string> paths;
    std::string error = TakePaths(options.rawPath, named, &paths);
    if (!error.empty())
        return Error(error, 2);
    for (size_t i = 0; i < suits.size(); i++) {
        suits[i]->rawPath = paths[i];
        std::string problem = OutputPathProblem(paths[i]);
        if (!problem.empty())
            return Error("cannot write " + paths[i] + ": " + problem);
    }
    return std::nullopt;
}

// Before the suit is opened: its take's time starts before its first datagram.
std::optional<Ending> SessionRecorder::OpenRawTake(LiveSuit& suit)
{
    if (suit.rawPath.empty())
        return std::nullopt;
    suit.raw = std::make_unique<RawTakeWriter>();
    std::string error = suit.raw->Open(suit.rawPath);
    if (!error.empty())
        return Error(error);
    return std::nullopt;
}

Ending SessionRecorder::CloseRawTakes(Ending ending)
{
    for (const auto& suit : suits) {
        if (!suit->raw)
            continue;
        std::string error = suit->raw->Close();
        if (error.empty())
            continue;
        if (!ending.message.empty())
            Report(ending, out, errors);
        ending = Error("cannot write the raw take " + suit->rawPath + ": " + error);
    }
    return ending;
}

std::optional<Ending> SessionRecorder::OpenAndPrepareSuits()
{
    if (options.floorGiven)
        VarnelSetFloor(options.floor);
    if (!options.rawPath.empty())
        RawCapture::Begin();
    for (const auto& suit : suits) {
        const std::string& name = suit->take->name;
        if (std::optional<Ending> failure = OpenRawTake(*suit))
            return failure;
        suit->handle = VarnelOpen(&suit->info, FrameCapture::OnFrame, nullptr);
        if (!suit->handle)
            return Error("cannot open the suit at " + SuitAddress(suit->info));
        suit->capture.Attach(suit->handle);
        if (suit->raw) {
            RawCapture::Attach(suit->handle, suit->raw.get());
            suit->capture.KeepRawMarks(suit->raw.get());
        }
        std::string problem = SetUpOpenedSuit(suit->handle, suit->info, options, actor, name);
        if (!problem.empty())
            return Error(problem);
        suit->take->summary.nominalRate = VarnelGetFrameRate(suit->handle);
        if (suit->raw) {
            RawTakeHeader header;
            std::memcpy(header.suitName, suit->info.name, SuitNameSize - 1);
            header.nominalRate = suit->take->summary.nominalRate;
            header.positionSensor = options.positionSensor;
            VarnelGetFloor(&header.floor);
            VarnelGetActorData(suit->handle, &header.actor);
            suit->raw->SetHeader(header);
        }
        std::fprintf(out, "Recording \"%s\" at %s (%g frames/s)", name.c_str(),
                     SuitAddress(suit->info).c_str(), suit->take->summary.nominalRate);
        if (suits.size() > 1)
            std::fprintf(out, " to %s", suit->take->path.c_str());
        std::fprintf(out, "\n");
    }
    std::fflush(out);
    return std::nullopt;
}

std::string SessionRecorder::Which(size_t suit) const
{
    return "the suit \"" + suits[suit]->take->name + "\"";
}

std::vector<SessionSuit> SessionRecorder::Session()
{
    std::vector<SessionSuit> session;
    for (const auto& suit : suits)
        session.push_back({suit->handle, &suit->capture, suit->take->name});
    return session;
}

std::optional<Ending> SessionRecorder::CountDownAndCalibrate()
{
    std::vector<CalibratingSuit> calibrating;
    for (const auto& suit : suits)
        calibrating.push_back({suit->handle, suit->take->name,
                               [capture = &suit->capture] { return capture->Delivered(); }});
    std::string problem = CalibrateOnNullPose(calibrating, options, {"record", "take", "recorded"},
                                              stopRequested, errors);
    if (!problem.empty())
        return Error(problem);
    return std::nullopt;
}

// Records every suit, from one start, until the takes end.
void SessionRecorder::Capture()
{
    for (const auto& suit : suits) {
        Skeleton& take = suit->take->take;
        VarnelFreeSkeletonFrames(&take);
        VarnelGetActorData(suit->handle, &actor);
        VarnelCopyActorToSkeleton(&take, &actor);
        take.frameTime = 1.0f / suit->take->summary.nominalRate;
    }
    start = MonotonicNanoseconds();
    for (const auto& suit : suits) {
        VarnelClearDropped(suit->handle);
        suit->capture.Start(suit->take->take, options.frames);
    }
    WatchTakes(options, Session(), start, stopRequested, out, ends);
}

Ending SessionRecorder::Finish()
{
    for (const auto& suit : suits)
        suit->take->summary.dropped = VarnelGetDropped(suit->handle);
    // No frame callback appends after VarnelFinish, so the takes are read only then.
    VarnelFinish();
    libraryStarted = false;
    RawCapture::End();
    if (isatty(fileno(out)))
        std::fprintf(out, "\r\033[K");
    Ending ending = StatusOnly(0);
    for (size_t i = 0; i < suits.size(); i++) {
        SuitTake& take = *suits[i]->take;
        take.summary.frames = uint64_t(take.take.numFrames);
        if (take.summary.frames > 0)
            take.summary.seconds =
                double(suits[i]->capture.LastFrameAt() - start) / NanosecondsPerSecond;
        std::string problem;
        if (ends[i] == TakeEnd::Silent)
            problem = Which(i) + " stopped sending; " + (suits.size() == 1 ? "the" : "its") +
                      " take ends";
        else if (ends[i] == TakeEnd::OutOfMemory)
            problem = "out of memory for frames; the take ends";
        if (!problem.empty()) {
            // Each suit's problem is told; the last one is the ending's.
            if (!ending.message.empty())
                Report(ending, out, errors);
            ending = Error(problem);
        }
    }
    return CloseRawTakes(std::move(ending));
}

int FailWith(const Ending& ending, std::FILE* out, std::FILE* errors,
             std::vector<std::unique_ptr<SuitTake>>& takes)
{
    takes.clear();
    return Report(ending, out, errors);
}
} // namespace

int RecordTakes(const RecordOptions& options, const std::atomic<bool>& stopRequested,
                std::vector<std::unique_ptr<SuitTake>>& takes, std::FILE* out, std::FILE* errors)
{
    takes.clear();
    SessionRecorder recorder(options, stopRequested, out, errors);
    std::optional<Ending> failure = recorder.ReadActorFile();
    if (!failure)
        failure = recorder.FindSuits(takes);
    if (!failure)
        failure = recorder.NameOutputs();
    if (!failure)
        failure = recorder.OpenAndPrepareSuits();
    if (!failure)
        failure = recorder.CountDownAndCalibrate();
    if (failure)
        return FailWith(*failure, out, errors, takes);
    recorder.Capture();
    return Report(recorder.Finish(), out, errors);
}

int RunRecord(const RecordOptions& options, const std::atomic<bool>& stopRequested, std::FILE* out,
              std::FILE* errors)
{
    // A pattern is checked once the suits' names are known.
    std::string problem = options.outputPath.empty() || IsTakePathPattern(options.outputPath)
                              ? ""
                              : OutputPathProblem(options.outputPath);
    if (!problem.empty()) {
        std::fprintf(errors, "varnel record: cannot write %s: %s\n", options.outputPath.c_str(),
                     problem.c_str());
        return 1;
    }
    // With the take on the standard output, what is said goes with the errors.
    std::FILE* takeOut = out;
    if (IsStandardOutput(options.outputPath))
        out = errors;
    std::vector<std::unique_ptr<SuitTake>> takes;
    int status = RecordTakes(options, stopRequested, takes, out, errors);
    for (const auto& take : takes) {
        if (take->take.numFrames > 0) {
            if (takes.size() > 1)
                std::fprintf(out, "\"%s\": ", take->name.c_str());
            std::fprintf(out, "%s\n", FormatSummary(take->summary).c_str());
            // A raw take only: it is written already.
            if (options.outputPath.empty())
                continue;
            bool saved = IsStandardOutput(take->path)
                             ? SaveTakeTo(take->take, takeOut, out, errors, options.units)
                             : SaveTake(take->take, take->path, out, errors, options.units);
            if (!saved)
                status = 1;
        } else if (!options.outputPath.empty() && (status == 0 || takes.size() > 1)) {
            std::fprintf(errors, "varnel record: no frame was recorded; %s not written\n",
                         take->path.c_str());
            status = 1;
        }
    }
    return status;
}
