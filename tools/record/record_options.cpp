#include "tools/record/record_options.h"

#include "tools/cli/option_checks.h"
#include "tools/cli/take_output.h"

#include <vector>

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
    command
        .add_option_function<std::string>(
            "--units",
            [&options](const std::string& name) { options.units = *FindLengthUnit(name); },
            "Length unit of the take written: in (inches, the library's unit), cm or m "
            "(default: in)")
        ->type_name("UNIT")
        ->check(CheckLengthUnit);
}

// Which suit, and how it is set up.
void AddSuitOptions(CLI::App& command, RecordOptions& options)
{
    CLI::Option* suit =
        command
            .add_option_function<std::vector<std::string>>(
                "--suit",
                [&options](const std::vector<std::string>& texts) {
                    for (const std::string& text : texts) {
                        SuitChoice choice;
                        std::string error = ParseSuitChoice(text, &choice);
                        if (!error.empty())
                            throw CLI::ValidationError("--suit", error);
                        options.suits.push_back(choice);
                    }
                },
                "Record the suit with this index in 'varnel suits', or that sends from "
                "IP:PORT; repeat for several suits (default: the first suit found)")
            ->type_name("INDEX|IP:PORT")
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command.add_flag("--all", options.allSuits, "Record every suit found")->excludes(suit);
    command.add_option("--actor", options.actorPath, "Load this actor file into each suit first")
        ->type_name("FILE");
    command.add_flag("--position-sensor", options.positionSensor,
                     "Place the hips by the suit's position sensor");
    command
        .add_option_function<std::string>(
            "--floor",
            [&options](const std::string& text) {
                std::string error = ParseFloor(text, &options.floor);
                if (!error.empty())
                    throw CLI::ValidationError("--floor", error);
                options.floorGiven = true;
            },
            "The floor: slopes, height at the origin, lowest and highest level, clamp to them "
            "(0/1), number of stairs (default: level at 0)")
        ->type_name("DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS");
}
} // namespace

void AddRecordOptions(CLI::App& command, RecordOptions& options)
{
    // In the order --help lists them.
    AddTakeOptions(command, options);
    AddSuitOptions(command, options);
    command
        .add_option("--countdown", options.countdownSeconds,
                    "Count down S seconds before the calibration, to take the null pose; 0: none")
        ->type_name("S")
        ->check(CheckCountdown)
        ->capture_default_str();
    command.add_flag_callback(
        "--no-still-check", [&options] { options.stillCheck = false; },
        "Calibrate at once, without waiting for each suit to hold still for half a second");
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
