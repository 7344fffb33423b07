// `varnel simulate`: a suit on the network, until its limit or Ctrl+C.
#include "commands.h"
#include "simulate_options.h"
#include "simulator.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {
std::atomic<bool> stopRequested{false};

void RequestStop(int)
{
    stopRequested.store(true);
}

// No SA_RESTART: the signal must cut the frame sleep short.
void CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void PrintStart(const SimulateOptions& options, const Simulator& simulator)
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

int RunSimulate(const SimulateOptions& options)
{
    Simulator simulator;
    std::string error = simulator.Open(options);
    if (!error.empty()) {
        std::fprintf(stderr, "varnel simulate: %s\n", error.c_str());
        return 1;
    }
    CatchStopSignals();
    PrintStart(options, simulator);
    SwayingMotion motion(options.rate);
    SimulationSummary summary = simulator.Run(motion, stopRequested);
    PrintSummary(options, summary);
    if (!summary.error.empty()) {
        std::fprintf(stderr, "varnel simulate: %s\n", summary.error.c_str());
        return 1;
    }
    return 0;
}
} // namespace

void AddSimulateCommand(CLI::App& app, int& exitStatus)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<SimulateOptions>();
    CLI::App* command = app.add_subcommand(
        "simulate", "Put a simulated suit on the network (datagrams to 127.0.0.1:8000)");
    AddSimulateOptions(*command, *options);
    command->final_callback([&exitStatus, options] { exitStatus = RunSimulate(*options); });
}
