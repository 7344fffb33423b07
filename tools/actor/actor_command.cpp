// `varnel actor IN -o OUT --units NAME`: an actor file in other units.
#include "common/actor_file_format.h"
#include "tools/actor/actor_conversion.h"
#include "tools/cli/commands.h"
#include "tools/cli/tool_messages.h"

#include <memory>
#include <sstream>

namespace {
struct ActorCommandOptions {
    std::string input;
    std::string output;
    int units = ActorUnitsInches;
};
} // namespace

void AddActorCommand(CLI::App& app, CommandRun& run)
{
    auto options = std::make_shared<ActorCommandOptions>();
    CLI::App* command =
        app.add_subcommand("actor", "Convert an actor file (.vnl) to other length units");
    command->add_option("IN", options->input, "The actor file to read (a pipe too)")
        ->type_name("FILE")
        ->required();
    command->add_option("-o,--output", options->output, "The actor file to write")
        ->type_name("FILE")
        ->required();
    command
        ->add_option("--units", options->units,
                     "Length units of the file written: Inches, Feet, Millimeters, Centimeters "
                     "or Meters (any case)")
        ->required()
        ->transform(CLI::Validator(
            [](std::string& name) -> std::string {
                int units = FindActorUnit(name.c_str());
                if (units < 0)
                    return "unknown units " + name +
                           ": use Inches, Feet, Millimeters, Centimeters or Meters";
                name = std::to_string(units);
                return "";
            },
            "NAME"));
    command->footer(
        "Exit status:\n"
        "  0  the file is written\n"
        "  1  the input cannot be read or the output cannot be written (the reason is printed)\n"
        "  2  a usage error\n");
    command->callback([options, &run] {
        // The converter reads its input twice: a pipe is copied once.
        ReplayableFile input;
        std::ostringstream out, errors;
        run.exitStatus =
            input.Open(options->input, errors)
                ? ConvertActorFile(input.File(), options->output, options->units, out, errors)
                : 1;
        std::fputs(out.str().c_str(), run.out);
        std::fputs(PrefixLines("actor", errors.str()).c_str(), run.errors);
    });
}
