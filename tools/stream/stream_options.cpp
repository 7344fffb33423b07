#include "tools/stream/stream_options.h"

#include "tools/cli/option_checks.h"

std::string SuitTargets(const std::vector<Destination>& targets, size_t k,
                        std::vector<Destination>* shifted)
{
    shifted->clear();
    for (const Destination& target : targets) {
        if (target.port + k > 65535)
            return "the suit at position " + std::to_string(k + 1) + " would stream to port " +
                   std::to_string(target.port + k) + " of " + target.host +
                   ", beyond 65535; give a lower port";
        shifted->push_back({target.host, uint16_t(target.port + k)});
    }
    return "";
}

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
            "Send to a VMC receiver at HOST:PORT; repeat for several. With several suits "
            "the second goes to PORT+1, the third to PORT+2... (default: 127.0.0.1:39539)")
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
    AddSuitOptions(command, options, "Stream");
    AddCalibrationOptions(command, options);
}
