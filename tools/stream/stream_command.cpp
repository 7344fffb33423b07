// `varnel stream`: live frames to VMC receivers.
#include "tools/cli/commands.h"
#include "tools/cli/stop_signals.h"
#include "tools/stream/streamer.h"

#include <memory>

void AddStreamCommand(CLI::App& app, CommandRun& run)
{
    // Kept alive by the callback, which the app owns.
    auto options = std::make_shared<StreamOptions>();
    CLI::App* command = app.add_subcommand(
        "stream", "Stream suits live to VMC receivers (OSC over UDP): find them, calibrate each "
                  "once it holds the null pose still, send every frame until the limit or "
                  "Ctrl+C");
    AddStreamOptions(*command, *options);
    command->footer(
        "Exit status:\n"
        "  0  the stream ran to its limit or Ctrl+C (a receiver that is not listening does not "
        "end it)\n"
        "  1  no suit found, a suit named not found, a suit silent for three seconds or not "
        "held still within 30 s, an unreadable actor file or a receiver whose host cannot be "
        "resolved\n"
        "  2  UDP port 8000 cannot be opened (the reason is printed), or a usage error\n");
    command->final_callback([&run, options] {
        run.exitStatus = RunStream(*options, CatchStopSignals(), run.out, run.errors);
    });
}
