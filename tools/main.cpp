// varnel: the command line of the Varnel library.
#include "tools/cli/command_line.h"
#include "tools/cli/stop_signals.h"

#include <cstdio>

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    return RunCommandLine(argc, argv, stdout, stderr);
}
