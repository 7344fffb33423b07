// Runs the command line in the test's process and keeps what it printed.
#pragma once

#include "tests/support/captured_output.h"
#include "tools/cli/command_line.h"

#include <string>
#include <vector>

struct Printed {
    int status;
    std::string out, errors;
};

// As `varnel ARGUMENTS...`.
inline Printed RunVarnel(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "varnel");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    CapturedOutput out, errors;
    int status = RunCommandLine(int(arguments.size()), argv.data(), out.file, errors.file);
    return {status, out.Text(), errors.Text()};
}
