// `varnel record`: a headless capture to a BVH file.
#include "tools/cli/commands.h"
#include "tools/cli/stop_signals.h"
#include "tools/record/recorder.h"

#include <memory>

void AddRecordCommand(CLI::App& app, int& exitStatus)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<RecordOptions>();
    CLI::App* command = app.add_subcommand(
        "record", "Capture a suit to a BVH file: find it, calibrate it on the null pose, record "
                  "until the limit or Ctrl+C");
    AddRecordOptions(*command, *options);
    command->final_callback([&exitStatus, options] {
        exitStatus = RunRecord(*options, CatchStopSignals(), stdout, stderr);
    });
}
