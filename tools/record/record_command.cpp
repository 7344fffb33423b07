// `varnel record`: a headless capture to a BVH file.
#include "tools/cli/commands.h"
#include "tools/cli/stop_signals.h"
#include "tools/record/recorder.h"

#include <memory>

void AddRecordCommand(CLI::App& app, CommandRun& run)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<RecordOptions>();
    CLI::App* command = app.add_subcommand(
        "record", "Capture a suit to a BVH file: find it, calibrate it on the null pose, record "
                  "until the limit or Ctrl+C");
    AddRecordOptions(*command, *options);
    command->footer(
        "Exit status: 0 when the take is written; 1 when no suit is found, the suit sends "
        "nothing for three seconds (the frames so far are still written), the actor file "
        "cannot be read or the take cannot be written; 2 when UDP port 8000 cannot be opened, "
        "and for a usage error.");
    command->final_callback([&run, options] {
        run.exitStatus = RunRecord(*options, CatchStopSignals(), run.out, run.errors);
    });
}
