// `varnel convert IN -o OUT --units UNIT`: a BVH take in other length units.
#include "tools/cli/bvh_units.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_checks.h"
#include "tools/cli/tool_messages.h"

#include <memory>
#include <sys/stat.h>

namespace {
struct ConvertOptions {
    std::string input;
    std::string output;
    LengthUnit to = LengthUnit::Inches;
    LengthUnit from = LengthUnit::Inches;
};

bool IsStandardStream(const std::string& path)
{
    return path == "-";
}

// Whether both paths name one file that is not a regular file, which the
// conversion would read while writing into it. A regular file is safe: the
// new text replaces it only once it is complete.
bool SameStreamOnBothSides(const std::string& input, const std::string& output)
{
    struct stat in, out;
    if (IsStandardStream(input) || IsStandardStream(output) || stat(input.c_str(), &in) != 0 ||
        stat(output.c_str(), &out) != 0)
        return false;
    return in.st_dev == out.st_dev && in.st_ino == out.st_ino && !S_ISREG(in.st_mode);
}

int RunConvert(const ConvertOptions& options, std::FILE* out, std::FILE* errors)
{
    const std::string inPath = IsStandardStream(options.input) ? "/dev/stdin" : options.input;
    const std::string inName = IsStandardStream(options.input) ? "standard input" : options.input;
    std::string problem;
    if (SameStreamOnBothSides(options.input, options.output))
        problem = "cannot convert " + options.input + " into itself: it is not a regular file";
    else if (IsStandardStream(options.output))
        problem = ScaleBvhFileTo(inPath, inName, out, LengthFactor(options.from, options.to));
    else
        problem =
            ScaleBvhFile(inPath, inName, options.output, LengthFactor(options.from, options.to));
    if (problem.empty()) {
        if (!IsStandardStream(options.output))
            std::fprintf(out, "Wrote %s in %s (from %s)\n", options.output.c_str(),
                         LengthUnitName(options.to), LengthUnitName(options.from));
        return 0;
    }
    std::fputs(PrefixLines("convert", problem).c_str(), errors);
    return 1;
}
} // namespace

void AddConvertCommand(CLI::App& app, CommandRun& run)
{
    auto options = std::make_shared<ConvertOptions>();
    CLI::App* command = app.add_subcommand(
        "convert", "Write a BVH take with its lengths (offsets and positions) in other units");
    command->add_option("IN", options->input, "The BVH file to read; - for standard input")
        ->type_name("FILE")
        ->required();
    command
        ->add_option("-o,--output", options->output,
                     "The BVH file to write (replaced only once complete; it may be IN); - for "
                     "standard output")
        ->type_name("FILE")
        ->required();
    command
        ->add_option_function<std::string>(
            "--units", [options](const std::string& name) { options->to = *FindLengthUnit(name); },
            "Length unit of the file written: in (inches), cm or m")
        ->type_name("UNIT")
        ->required()
        ->check(CheckLengthUnit);
    command
        ->add_option_function<std::string>(
            "--from", [options](const std::string& name) { options->from = *FindLengthUnit(name); },
            "Length unit of IN (default: in, the unit the library writes and reads)")
        ->type_name("UNIT")
        ->check(CheckLengthUnit);
    command->footer(
        "Every OFFSET and every Xposition, Yposition and Zposition value is multiplied; "
        "rotations, the frame time, names and layout are kept. Any BVH hierarchy is converted, "
        "not only the 18-joint body.\n\n"
        "Exit status:\n"
        "  0  the file is written\n"
        "  1  the input cannot be read or is not BVH text (its line is named), or the output "
        "cannot be written; an existing output is then left as it was\n"
        "  2  a usage error\n");
    command->callback(
        [options, &run] { run.exitStatus = RunConvert(*options, run.out, run.errors); });
}
