// `varnel simulate`: a suit on the network, until its limit or Ctrl+C.
#include "tools/cli/commands.h"
#include "tools/cli/skeleton_with_frames.h"
#include "tools/cli/stop_signals.h"
#include "tools/cli/tool_messages.h"
#include "tools/simulate/raw_replay.h"
#include "tools/simulate/simulate_options.h"
#include "tools/simulate/take_file.h"
#include "tools/simulator/simulator.h"
#include "tools/simulator/take_motion.h"
#include "tools/simulator/walking_motion.h"

#include <cstdio>
#include <memory>

namespace {
void PrintStart(const SimulateOptions& options, const Simulator& simulator, int takeFrames,
                std::FILE* out)
{
    std::fprintf(out, "Simulating %d suit%s at %g frames/s to %s:%u from port", options.suits,
                 options.suits == 1 ? "" : "s", options.rate, options.destination.host.c_str(),
                 unsigned(options.destination.port));
    if (options.suits == 1)
        std::fprintf(out, " %u", unsigned(simulator.SourcePort(0)));
    else
        std::fprintf(out, "s %u-%u", unsigned(simulator.SourcePort(0)),
                     unsigned(simulator.SourcePort(options.suits - 1)));
    std::fprintf(out, " (Ctrl+C stops)\n");
    if (options.bvhPath.empty())
        std::fprintf(out, "Motion: the built-in walk");
    else
        std::fprintf(out, "Motion: %s, %d frame%s%s", options.bvhPath.c_str(), takeFrames,
                     takeFrames == 1 ? "" : "s", options.loop ? ", looping" : "");
    std::fprintf(out, " after %g s in the null pose\n", options.leadInSeconds);
    std::fflush(out);
}

void PrintSummary(const SimulateOptions& options, const SimulationSummary& summary, std::FILE* out)
{
    double measuredRate = summary.seconds > 0.0 ? double(summary.frames) / summary.seconds : 0.0;
    std::fprintf(out, "Sent %llu frame%s", (unsigned long long)summary.frames,
                 summary.frames == 1 ? "" : "s");
    if (options.suits > 1 || options.burst > 1)
        std::fprintf(out, " (%llu datagrams from %d suit%s)", (unsigned long long)summary.datagrams,
                     options.suits, options.suits == 1 ? "" : "s");
    std::fprintf(out, " in %.2f s (%.1f frames/s)\n", summary.seconds, measuredRate);
    std::fflush(out);
}

// The take's own rate, unless --rate chose one. An empty text or the reason.
std::string ChooseTakeRate(const Skeleton& take, SimulateOptions& options)
{
    if (options.rateGiven)
        return "";
    double rate = take.frameTime > 0.0f ? 1.0 / take.frameTime : 0.0;
    if (!(rate > 0.0 && rate <= MaximumSimulatedRate))
        return "the take's frame time " + std::to_string(take.frameTime) +
               " s is not a rate the simulator can send at; choose one with --rate";
    options.rate = rate;
    return "";
}

// The motion the suits wear: the take of --bvh, read into take, else the
// built-in walk. An empty text, or the reason there is none.
std::string ChooseMotion(SimulateOptions& options, Skeleton& take,
                         std::unique_ptr<MotionSource>& motion)
{
    if (options.bvhPath.empty()) {
        motion = std::make_unique<WalkingMotion>(options.rate,
                                                 LeadInFrames(options.leadInSeconds, options.rate));
        return "";
    }
    std::string error = ReadTakeFile(options.bvhPath, take);
    if (error.empty())
        error = ChooseTakeRate(take, options);
    if (error.empty())
        motion = std::make_unique<TakeMotion>(take.frames, take.numFrames,
                                              LeadInFrames(options.leadInSeconds, options.rate),
                                              options.loop);
    return error;
}

int Fail(const std::string& error, std::FILE* errors)
{
    std::fprintf(errors, "%s%s\n", MessagePrefix("simulate").c_str(), error.c_str());
    return 1;
}

int RunRawReplay(const SimulateOptions& options, std::FILE* out, std::FILE* errors)
{
    RawTake take;
    std::string error = ReadRawTake(options.rawPath, &take);
    if (!error.empty())
        return Fail(error, errors);
    if (take.ignoredBytes > 0)
        std::fprintf(errors, "%s%s is cut or damaged after %zu whole records\n",
                     MessagePrefix("simulate").c_str(), options.rawPath.c_str(),
                     take.records.size());
    std::fprintf(out, "Replaying %s (\"%s\", %zu datagrams) to %s:%u ", options.rawPath.c_str(),
                 take.header.suitName, take.records.size(), options.destination.host.c_str(),
                 unsigned(options.destination.port));
    if (options.rateGiven)
        std::fprintf(out, "at %g frames/s (Ctrl+C stops)\n", options.rate);
    else
        std::fprintf(out, "with its recorded timing (Ctrl+C stops)\n");
    std::fflush(out);
    SimulationSummary summary = ReplayRawTake(take, options, CatchStopSignals());
    PrintSummary(options, summary, out);
    return summary.error.empty() ? 0 : Fail(summary.error, errors);
}

int RunSimulate(SimulateOptions options, std::FILE* out, std::FILE* errors)
{
    if (!options.rawPath.empty())
        return RunRawReplay(options, out, errors);
    SkeletonWithFrames take;
    std::unique_ptr<MotionSource> motion;
    Simulator simulator;
    std::string error = ChooseMotion(options, take.skeleton, motion);
    if (error.empty())
        error = simulator.Open(options);
    if (!error.empty())
        return Fail(error, errors);
    const std::atomic<bool>& stopRequested = CatchStopSignals();
    PrintStart(options, simulator, take.skeleton.numFrames, out);
    SimulationSummary summary = simulator.Run(*motion, stopRequested);
    PrintSummary(options, summary, out);
    return summary.error.empty() ? 0 : Fail(summary.error, errors);
}
} // namespace

void AddSimulateCommand(CLI::App& app, CommandRun& run)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<SimulateOptions>();
    CLI::App* command = app.add_subcommand(
        "simulate", "Put a simulated suit on the network (datagrams to 127.0.0.1:8000): a "
                    "person walking, a BVH take, or a raw take as it was recorded");
    AddSimulateOptions(*command, *options);
    command->footer(
        "Exit status:\n"
        "  0  the suits sent until their limit or Ctrl+C\n"
        "  1  the take or raw take cannot be read, or the destination cannot be reached or "
        "sent to\n"
        "  2  a usage error\n");
    command->final_callback(
        [&run, options] { run.exitStatus = RunSimulate(*options, run.out, run.errors); });
}
