// `varnel record`: a headless capture to a BVH file.
#include "commands.h"
#include "recorder.h"

#include <atomic>
#include <csignal>
#include <memory>

namespace {
std::atomic<bool> stopRequested{false};

void RequestStop(int)
{
    stopRequested.store(true);
}

void CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
} // namespace

void AddRecordCommand(CLI::App& app, int& exitStatus)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<RecordOptions>();
    CLI::App* command = app.add_subcommand(
        "record", "Capture a suit to a BVH file: find it, calibrate it on the null pose, record "
                  "until the limit or Ctrl+C");
    AddRecordOptions(*command, *options);
    command->final_callback([&exitStatus, options] {
        CatchStopSignals();
        exitStatus = RunRecord(*options, stopRequested, stdout, stderr);
    });
}
