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
        "record", "Capture suits to BVH files: find them, calibrate each on the null pose once "
                  "it holds still, record until the limit or Ctrl+C");
    AddRecordOptions(*command, *options);
    command->footer(
        "Exit status:\n"
        "  0  every take is written\n"
        "  1  no suit found, a suit silent for three seconds (the frames so far are still "
        "written), a suit that did not hold the null pose still within 30 seconds (nothing "
        "is recorded), an unreadable actor file or a failed write\n"
        "  2  UDP port 8000 cannot be opened (the reason is printed), or a usage error (also "
        "several suits for standard output, a suit named twice, two suits for one file)\n");
    command->final_callback([&run, options] {
        run.exitStatus = RunRecord(*options, CatchStopSignals(), run.out, run.errors);
    });
}
