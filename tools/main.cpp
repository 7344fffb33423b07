// varnel: the command line of the Varnel library.
#include "tools/cli/commands.h"
#include "tools/cli/stop_signals.h"

#include "varnel.h"

#include <cstdio>

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    CLI::App app{"varnel: suit simulator, headless recorder and file tools"};
    app.require_subcommand(1);
    uint32_t version = VarnelVersion();
    app.set_version_flag("--version",
                         std::to_string(version & 0xffffu) + "." + std::to_string(version >> 16));
    int exitStatus = 0;
    AddSimulateCommand(app, exitStatus);
    AddRecordCommand(app, exitStatus);
    AddSuitsCommand(app, exitStatus);
    AddInfoCommand(app, exitStatus);
    AddActorCommand(app, exitStatus);
    CLI11_PARSE(app, argc, argv);
    return exitStatus;
}
