#include "tools/record/record_options.h"

#include "tools/cli/option_checks.h"
#include "tools/cli/take_output.h"

namespace {
// The file and when the take ends.
void AddTakeOptions(CLI::App& command, RecordOptions& options)
{
    command
        .add_option("-o,--output", options.outputPath,
                    "The BVH file to write; - for standard output. With several suits, "
                    "take.bvh becomes take-NAME.bvh; {name} and {index} in FILE stand for "
                    "each suit's name and index")
        ->type_name("FILE");
    command
        .add_option("--raw", options.rawPath,
                    "Also keep every datagram of the suit in this raw take, which 'varnel "
                    "solve' solves again and 'varnel simulate --raw' replays; a pattern as "
                    "with -o for several suits")
        ->type_name("FILE");
    CLI::Option* seconds =
        command.add_option("--seconds", options.seconds, "Stop after S seconds (default: Ctrl+C)")
            ->type_name("S")
            ->check(CheckSeconds);
    CLI::Option* frames =
        command.add_option("--frames", options.frames, "Stop after N frames (default: Ctrl+C)")
            ->type_name("N")
            ->check(CheckFrameCount);
    frames->excludes(seconds);
    AddTakeUnitsOption(command, options.units);
}

} // namespace

void AddRecordOptions(CLI::App& command, RecordOptions& options)
{
    // In the order --help lists them.
    AddTakeOptions(command, options);
    AddSuitOptions(command, options, "Record");
    AddCalibrationOptions(command, options);
    command.parse_complete_callback([&options] {
        if (options.outputPath.empty() && options.rawPath.empty())
            throw CLI::ValidationError("-o", "name the BVH file with -o, the raw take with "
                                             "--raw, or both");
        if (IsStandardOutput(options.rawPath))
            throw CLI::ValidationError("--raw", "a raw take goes to a file, not standard output");
        if (IsStandardOutput(options.outputPath) && options.suits.size() > 1)
            throw CLI::ValidationError("-o", "standard output takes one suit's take only; name "
                                             "a file or a pattern with {name} or {index}");
    });
}
