#include "tools/simulate/simulate_options.h"

#include "tools/cli/option_checks.h"

#include <cmath>
#include <string>

namespace {
std::string CheckName(const std::string& name)
{
    if (name.empty())
        return "the suit name must not be empty";
    if (name.size() > SuitNameSize - 1)
        return "the suit name \"" + name + "\" is longer than 15 characters";
    return "";
}

std::string CheckRate(const std::string& text)
{
    double rate = 0.0;
    if (!CLI::detail::lexical_cast(text, rate) || !std::isfinite(rate) || rate <= 0.0 ||
        rate > MaximumSimulatedRate)
        return "the rate must be a number of frames per second above 0 and at most 10000, "
               "not \"" +
               text + "\"";
    return "";
}

std::string CheckLeadIn(const std::string& text)
{
    double seconds = 0.0;
    if (!CLI::detail::lexical_cast(text, seconds) || !std::isfinite(seconds) || seconds < 0.0 ||
        seconds > 3600.0)
        return "the lead-in must be a number of seconds from 0 to 3600, not \"" + text + "\"";
    return "";
}

// Checks that need several options at once.
void CheckCombination(const SimulateOptions& options)
{
    if (options.sourcePort != 0 && options.sourcePort + options.suits - 1 > 65535)
        throw CLI::ValidationError("--suits", std::to_string(options.suits) +
                                                  " suits do not fit on the source ports from " +
                                                  std::to_string(options.sourcePort));
}

// Where the suits send from and to.
void AddAddressOptions(CLI::App& command, SimulateOptions& options)
{
    command
        .add_option_function<std::string>(
            "--to",
            [&options](const std::string& text) {
                std::string error = ParseDestination(text, &options.destination);
                if (!error.empty())
                    throw CLI::ValidationError("--to", error);
            },
            "Where the suit sends to, HOST:PORT (default 127.0.0.1:8000)")
        ->type_name("HOST:PORT");
    command
        .add_option("--source-port", options.sourcePort,
                    "UDP port the suit sends from (default: any free port); with --suits, "
                    "the first of consecutive ports")
        ->type_name("PORT")
        ->check(CLI::Range(0, 65535));
}

// What a suit announces of itself.
void AddSuitOptions(CLI::App& command, SimulateOptions& options)
{
    command.add_option("--name", options.name, "Suit name, at most 15 characters")
        ->check(CheckName)
        ->capture_default_str();
    command
        .add_option("--rate", options.rate,
                    "Frames per second, also sent as the nominal rate (default 60, or the "
                    "take's own rate with --bvh)")
        ->check(CheckRate)
        ->each([&options](const std::string&) { options.rateGiven = true; });
    command.add_flag(
        "--position-sensor", options.positionSensor,
        "Carry a position sensor: announce it (flags bit value 2) and send where the hips are");
}

void AddLimitOptions(CLI::App& command, SimulateOptions& options)
{
    CLI::Option* frames =
        command.add_option("--frames", options.frames, "Stop after N frames (default: Ctrl+C)")
            ->type_name("N")
            ->check(CheckFrameCount);
    CLI::Option* seconds =
        command.add_option("--seconds", options.seconds, "Stop after S seconds (default: Ctrl+C)")
            ->type_name("S")
            ->check(CheckSeconds);
    frames->excludes(seconds);
}

// What puts a receiver to the test: flicker, bursts, many suits.
void AddReceiverTestOptions(CLI::App& command, SimulateOptions& options)
{
    command.add_flag("--jitter", options.jitter, "Let the channels flicker by one count");
    command
        .add_option("--burst", options.burst,
                    "Send N datagrams back to back per frame (provokes dropped frames)")
        ->type_name("N")
        ->check(CLI::Range(1, MaximumBurst))
        ->capture_default_str();
    command
        .add_option("--suits", options.suits,
                    "Simulate K suits on consecutive source ports, names suffixed 1, 2 ...")
        ->type_name("K")
        ->check(CLI::Range(1, MaximumSimulatedSuits))
        ->capture_default_str();
}

// What the suits' wearer does.
void AddMotionOptions(CLI::App& command, SimulateOptions& options)
{
    CLI::Option* bvh =
        command
            .add_option("--bvh", options.bvhPath,
                        "Play this BVH take of the 18-joint body instead of the built-in walk")
            ->type_name("FILE");
    command.add_flag("--loop", options.loop, "Play the take over and over (default: once)")
        ->needs(bvh);
    command
        .add_option("--lead-in", options.leadInSeconds,
                    "Seconds in the null pose before the motion, for a recorder to calibrate on")
        ->type_name("S")
        ->check(CheckLeadIn)
        ->capture_default_str();
    command
        .add_option("--raw", options.rawPath,
                    "Replay this raw take (varnel record --raw): its datagrams as recorded, at "
                    "the times they were received, or evenly at --rate")
        ->type_name("FILE")
        ->excludes(bvh)
        ->excludes("--jitter")
        ->excludes("--burst")
        ->excludes("--suits")
        ->excludes("--name")
        ->excludes("--position-sensor")
        ->excludes("--lead-in");
}
} // namespace

void AddSimulateOptions(CLI::App& command, SimulateOptions& options)
{
    // In the order --help lists them.
    AddAddressOptions(command, options);
    AddSuitOptions(command, options);
    AddLimitOptions(command, options);
    AddReceiverTestOptions(command, options);
    AddMotionOptions(command, options);
    command.parse_complete_callback([&options] { CheckCombination(options); });
}
