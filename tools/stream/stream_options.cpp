#include "tools/stream/stream_options.h"

#include "tools/cli/option_checks.h"

void AddStreamOptions(CLI::App& command, StreamOptions& options)
{
    // The default target gives way to the first one named.
    auto targetsNamed = std::make_shared<bool>(false);
    command
        .add_option_function<std::vector<std::string>>(
            "--vmc",
            [&options, targetsNamed](const std::vector<std::string>& texts) {
                for (const std::string& text : texts) {
                    Destination target{"", 0};
                    std::string error = ParseDestination(text, &target);
                    if (!error.empty())
                        throw CLI::ValidationError("--vmc", error);
                    if (!*targetsNamed)
                        options.targets.clear();
                    *targetsNamed = true;
                    options.targets.push_back(target);
                }
            },
            "Send to a VMC receiver at HOST:PORT; repeat for several (default: "
            "127.0.0.1:39539)")
        ->type_name("HOST:PORT")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    CLI::Option* seconds =
        command.add_option("--seconds", options.seconds, "Stop after S seconds (default: Ctrl+C)")
            ->type_name("S")
            ->check(CheckSeconds);
    command.add_option("--frames", options.frames, "Stop after N frames (default: Ctrl+C)")
        ->type_name("N")
        ->check(CheckFrameCount)
        ->excludes(seconds);
    command
        .add_option_function<std::string>(
            "--suit",
            [&options](const std::string& text) {
                SuitChoice choice;
                std::string error = ParseSuitChoice(text, &choice);
                if (!error.empty())
                    throw CLI::ValidationError("--suit", error);
                options.suit = choice;
            },
            "Stream the suit with this index in 'varnel suits', or that sends from IP:PORT "
            "(default: the first suit found)")
        ->type_name("INDEX|IP:PORT");
    command.add_option("--actor", options.actorPath, "Load this actor file into the suit first")
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
    command
        .add_option("--countdown", options.countdownSeconds,
                    "Count down S seconds before the calibration, to take the null pose; 0: none")
        ->type_name("S")
        ->check(CheckCountdown)
        ->capture_default_str();
}
