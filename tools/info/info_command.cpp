// `varnel info FILE`: what a BVH motion file, an actor file or a raw take holds.
#include "tools/cli/bvh_units.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_checks.h"
#include "tools/cli/tool_messages.h"
#include "tools/info/file_description.h"

#include <memory>
#include <optional>
#include <sstream>

namespace {
struct InfoOptions {
    std::string path;
    bool json = false;
    std::optional<LengthUnit> bvhUnit;
};
} // namespace

void AddInfoCommand(CLI::App& app, CommandRun& run)
{
    auto options = std::make_shared<InfoOptions>();
    CLI::App* command = app.add_subcommand(
        "info", "Describe a BVH motion file, an actor file (.vnl) or a raw take (.vraw)");
    command->add_option("FILE", options->path, "The file to describe (a pipe too)")
        ->type_name("FILE")
        ->required();
    command->add_flag("--json", options->json,
                      "Print one JSON object: for BVH the frames, frameTime, duration, offsets, "
                      "hipsTravel and contacts; for an actor file the units and the values by "
                      "section; for a raw take the suit, rate, records, duration, solved, kept, "
                      "calibrationAt, positionSensor, floor and ignoredBytes");
    command
        ->add_option_function<std::string>(
            "--units",
            [options](const std::string& name) { options->bvhUnit = FindLengthUnit(name); },
            "Length unit a BVH file is in: in, cm or m (default: in, the unit the library reads)")
        ->type_name("UNIT")
        ->check(CheckLengthUnit);
    command->footer("Exit status:\n"
                    "  0  the file is described\n"
                    "  1  the file cannot be read (the reason is printed)\n"
                    "  2  a usage error\n");
    command->callback([options, &run] {
        std::ostringstream out, errors;
        run.exitStatus =
            DescribeFile(options->path, out, errors,
                         options->json ? OutputForm::Json : OutputForm::Text, options->bvhUnit);
        std::fputs(out.str().c_str(), run.out);
        std::fputs(PrefixLines("info", errors.str()).c_str(), run.errors);
    });
}
