#include "tools/record/record_options.h"

#include "tools/cli/option_checks.h"
#include "tools/record/take_output.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {
constexpr int MaximumFloorSteps = 1000;
// Far more suits than one network carries; keeps the number an int.
constexpr int MaximumSuitIndex = 99999;

std::vector<std::string> SplitAtCommas(const std::string& text)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream stream(text);
    while (std::getline(stream, field, ','))
        fields.push_back(field);
    if (!text.empty() && text.back() == ',')
        fields.push_back("");
    return fields;
}

bool ParseNumber(const std::string& text, float* value)
{
    double parsed = 0.0;
    if (!CLI::detail::lexical_cast(text, parsed) || !std::isfinite(parsed) ||
        std::fabs(parsed) > 1e30)
        return false;
    *value = float(parsed);
    return true;
}

bool ParseWhole(const std::string& text, int low, int high, int32_t* value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 6)
        return false;
    long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (parsed < low || parsed > high)
        return false;
    *value = int32_t(parsed);
    return true;
}

std::string CheckCountdown(const std::string& text)
{
    double seconds = 0.0;
    if (!CLI::detail::lexical_cast(text, seconds) || !std::isfinite(seconds) || seconds < 0.0 ||
        seconds > 600.0)
        return "the countdown must be a number of seconds from 0 to 600, not \"" + text + "\"";
    return "";
}
} // namespace

std::string ParseFloor(const std::string& text, FloorGeometry* floor)
{
    const std::string usage = "the floor must be DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS";
    std::vector<std::string> fields = SplitAtCommas(text);
    if (fields.size() != 7)
        return usage + ", seven values, not \"" + text + "\"";
    FloorGeometry parsed{};
    float* numbers[5] = {&parsed.dzdx, &parsed.dzdy, &parsed.z0, &parsed.min, &parsed.max};
    const char* names[5] = {"DZDX", "DZDY", "Z0", "MIN", "MAX"};
    for (int i = 0; i < 5; i++)
        if (!ParseNumber(fields[i], numbers[i]))
            return std::string(names[i]) + " of the floor must be a number, not \"" + fields[i] +
                   "\"";
    if (!ParseWhole(fields[5], 0, 1, &parsed.clamp))
        return "CLAMP of the floor must be 0 or 1, not \"" + fields[5] + "\"";
    if (!ParseWhole(fields[6], 0, MaximumFloorSteps, &parsed.NumSteps))
        return "STEPS of the floor must be a whole number from 0 to 1000, not \"" + fields[6] +
               "\"";
    bool limitsUsed = parsed.clamp != 0 || parsed.NumSteps != 0;
    if (limitsUsed && parsed.min > parsed.max)
        return "MIN of the floor must not be above MAX, as it clamps or has steps";
    *floor = parsed;
    return "";
}

std::string ParseSuitChoice(const std::string& text, SuitChoice* choice)
{
    SuitChoice parsed;
    if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        if (text.size() > 5)
            return "a suit index is at most " + std::to_string(MaximumSuitIndex) + ", not " + text;
        parsed.byIndex = true;
        parsed.index = std::atoi(text.c_str());
    } else {
        std::string error = ParseDestination(text, &parsed.address);
        if (!error.empty())
            return error;
    }
    *choice = parsed;
    return "";
}

namespace {
// The file and when the take ends.
void AddTakeOptions(CLI::App& command, RecordOptions& options)
{
    command
        .add_option("-o,--output", options.outputPath,
                    "The BVH file to write; - for standard output. With several suits, "
                    "take.bvh becomes take-NAME.bvh; {name} and {index} in FILE stand for "
                    "each suit's name and index")
        ->type_name("FILE")
        ->required();
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
        if (IsStandardOutput(options.outputPath) && options.suits.size() > 1)
            throw CLI::ValidationError("-o", "standard output takes one suit's take only; name "
                                             "a file or a pattern with {name} or {index}");
    });
}
