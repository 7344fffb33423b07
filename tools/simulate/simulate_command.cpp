// `varnel simulate`: a suit on the network, until its limit or Ctrl+C.
#include "tools/cli/commands.h"
#include "tools/cli/skeleton_with_frames.h"
#include "tools/cli/stop_signals.h"
#include "tools/simulate/simulate_options.h"
#include "tools/simulate/take_file.h"
#include "tools/simulator/simulator.h"
#include "tools/simulator/take_motion.h"
#include "tools/simulator/walking_motion.h"

#include <cstdio>
#include <memory>

namespace {
void PrintStart(const SimulateOptions& options, const Simulator& simulator, int takeFrames)
{
    std::printf("Simulating %d suit%s at %g frames/s to %s:%u from port", options.suits,
                options.suits == 1 ? "" : "s", options.rate, options.destination.host.c_str(),
                unsigned(options.destination.port));
    if (options.suits == 1)
        std::printf(" %u", unsigned(simulator.SourcePort(0)));
    else
        std::printf("s %u-%u", unsigned(simulator.SourcePort(0)),
                    unsigned(simulator.SourcePort(options.suits - 1)));
    std::printf(" (Ctrl+C stops)\n");
    if (options.bvhPath.empty())
        std::printf("Motion: the built-in walk");
    else
        std::printf("Motion: %s, %d frame%s%s", options.bvhPath.c_str(), takeFrames,
                    takeFrames == 1 ? "" : "s", options.loop ? ", looping" : "");
    std::printf(" after %g s in the null pose\n", options.leadInSeconds);
    std::fflush(stdout);
}

void PrintSummary(const SimulateOptions& options, const SimulationSummary& summary)
{
    double measuredRate = summary.seconds > 0.0 ? double(summary.frames) / summary.seconds : 0.0;
    std::printf("Sent %llu frame%s", (unsigned long long)summary.frames,
                summary.frames == 1 ? "" : "s");
    if (options.suits > 1 || options.burst > 1)
        std::printf(" (%llu datagrams from %d suit%s)", (unsigned long long)summary.datagrams,
                    options.suits, options.suits == 1 ? "" : "s");
    std::printf(" in %.2f s (%.1f frames/s)\n", summary.seconds, measuredRate);
    std::fflush(stdout);
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

int Fail(const std::string& error)
{
    std::fprintf(stderr, "varnel simulate: %s\n", error.c_str());
    return 1;
}

int RunSimulate(SimulateOptions options)
{
    SkeletonWithFrames take;
    std::unique_ptr<MotionSource> motion;
    Simulator simulator;
    std::string error = ChooseMotion(options, take.skeleton, motion);
    if (error.empty())
        error = simulator.Open(options);
    if (!error.empty())
        return Fail(error);
    const std::atomic<bool>& stopRequested = CatchStopSignals();
    PrintStart(options, simulator, take.skeleton.numFrames);
    SimulationSummary summary = simulator.Run(*motion, stopRequested);
    PrintSummary(options, summary);
    return summary.error.empty() ? 0 : Fail(summary.error);
}
} // namespace

void AddSimulateCommand(CLI::App& app, int& exitStatus)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<SimulateOptions>();
    CLI::App* command = app.add_subcommand(
        "simulate", "Put a simulated suit on the network (datagrams to 127.0.0.1:8000): a "
                    "person walking, or a BVH take");
    AddSimulateOptions(*command, *options);
    command->final_callback([&exitStatus, options] { exitStatus = RunSimulate(*options); });
}
