#include "tools/cli/live_suits.h"

#include "tools/cli/network_address.h"
#include "tools/cli/option_checks.h"

void AddSuitOptions(CLI::App& command, LiveSuitOptions& options, std::string_view verb)
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
                std::string(verb) +
                    " the suit with this index in 'varnel suits', or that sends from "
                    "IP:PORT; repeat for several suits (default: the first suit found)")
            ->type_name("INDEX|IP:PORT")
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command.add_flag("--all", options.allSuits, std::string(verb) + " every suit found")
        ->excludes(suit);
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

void AddCalibrationOptions(CLI::App& command, LiveSuitOptions& options)
{
    command
        .add_option("--countdown", options.countdownSeconds,
                    "Count down S seconds before the calibration, to take the null pose; 0: none")
        ->type_name("S")
        ->check(CheckCountdown)
        ->capture_default_str();
    command.add_flag_callback(
        "--no-still-check", [&options] { options.stillCheck = false; },
        "Calibrate at once, without waiting for each suit to hold still for half a second");
}

std::string ChooseSuits(const LiveSuitOptions& options, int count, std::vector<ChosenSuit>& chosen,
                        int* status)
{
    chosen.clear();
    *status = 1;
    if (options.suits.empty()) {
        for (int index = 0; index < count; index++) {
            ChosenSuit suit{index, {}};
            if (VarnelEnumerateSuitInfo(index, &suit.info))
                chosen.push_back(suit);
            if (!options.allSuits && !chosen.empty())
                break;
        }
        return chosen.empty() ? "the suit table changed while the suits were chosen" : "";
    }
    for (const SuitChoice& choice : options.suits) {
        ChosenSuit suit;
        std::string error = FindChosenSuit(choice, count, &suit.index, &suit.info);
        if (!error.empty())
            return error;
        chosen.push_back(suit);
    }
    for (size_t i = 0; i < chosen.size(); i++)
        for (size_t j = 0; j < i; j++)
            if (chosen[i].index == chosen[j].index) {
                *status = 2;
                return "the suit at " + SuitAddress(chosen[i].info) + " (index " +
                       std::to_string(chosen[i].index) + ") is named twice";
            }
    return "";
}

std::string SetUpOpenedSuit(VarnelHandle suit, const SuitInfo& info, const LiveSuitOptions& options,
                            const ActorData& actor, const std::string& name)
{
    if (!options.actorPath.empty())
        VarnelSetActorData(suit, &actor);
    if (options.positionSensor) {
        if (!(info.flags & SUIT_HAS_POSITION_SENSOR))
            return "the suit \"" + name + "\" has no position sensor";
        VarnelEnablePositionSensor(suit, 1);
    }
    return "";
}
