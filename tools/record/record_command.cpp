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
        "Exit status:\n"
        "  0  the take is written\n"
        "  1  no suit found, a suit silent for three seconds (the frames so far are still "
        "written), an unreadable actor file or a failed write\n"
        "  2  UDP port 8000 cannot be opened (the reason is printed), or a usage error\n");
    command->final_callback([&run, options] {
        run.exitStatus = RunRecord(*options, CatchStopSignals(), run.out, run.errors);
    });
}
