// `varnel solve`: a raw take solved again into a BVH take.
#include "tools/cli/actor_file_reading.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_checks.h"
#include "tools/cli/raw_take.h"
#include "tools/cli/suit_setup.h"
#include "tools/cli/take_output.h"
#include "tools/cli/tool_messages.h"
#include "tools/solve/raw_solve.h"

#include <cmath>
#include <memory>
#include <sstream>

namespace {
struct SolveOptions {
    std::string input;
    std::string output;
    std::string actorPath;
    RawSolveSettings settings;
    LengthUnit units = LengthUnit::Inches;
};

int Fail(std::FILE* errors, const std::string& problem)
{
    std::fputs(PrefixLines("solve", problem).c_str(), errors);
    return 1;
}

int RunSolve(SolveOptions options, std::FILE* out, std::FILE* errors)
{
    RawTake raw;
    std::string problem = ReadRawTake(options.input, &raw);
    if (!problem.empty())
        return Fail(errors, problem);
    if (raw.ignoredBytes > 0)
        std::fprintf(errors,
                     "%s%s is cut or damaged after %zu whole records; the last %llu bytes are "
                     "left out\n",
                     MessagePrefix("solve").c_str(), options.input.c_str(), raw.records.size(),
                     static_cast<unsigned long long>(raw.ignoredBytes));
    if (!options.actorPath.empty()) {
        ActorData actor;
        int units = 0;
        std::ostringstream why;
        if (!ReadActorFile(NamedFile(options.actorPath), &actor, &units, why))
            return Fail(errors, why.str());
        options.settings.actor = actor;
    }
    if (!IsStandardOutput(options.output)) {
        problem = OutputPathProblem(options.output);
        if (!problem.empty())
            return Fail(errors, "cannot write " + options.output + ": " + problem);
    }
    Skeleton take;
    VarnelInitSkeleton(&take);
    problem = SolveRawTake(raw, options.settings, take);
    int status = 0;
    if (!problem.empty()) {
        status = Fail(errors, problem);
    } else if (take.numFrames == 0) {
        status = Fail(errors, options.input + " holds no frame of a take; " + options.output +
                                  " not written");
    } else {
        // With the take on the standard output, what is said goes with the errors.
        std::FILE* said = IsStandardOutput(options.output) ? errors : out;
        bool saved = IsStandardOutput(options.output)
                         ? SaveTakeTo(take, out, said, errors, options.units)
                         : SaveTake(take, options.output, said, errors, options.units);
        status = saved ? 0 : 1;
    }
    VarnelFreeSkeletonFrames(&take);
    return status;
}

void AddSolveSettings(CLI::App& command, SolveOptions& options)
{
    command
        .add_option("--actor", options.actorPath,
                    "Solve with this actor file (default: the actor the take was recorded with)")
        ->type_name("FILE");
    command
        .add_option_function<std::string>(
            "--floor",
            [&options](const std::string& text) {
                FloorGeometry floor;
                std::string error = ParseFloor(text, &floor);
                if (!error.empty())
                    throw CLI::ValidationError("--floor", error);
                options.settings.floor = floor;
            },
            "The floor, as for 'varnel record' (default: the floor the take was recorded on)")
        ->type_name("DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS");
    command.add_flag("--position-sensor", options.settings.positionSensor,
                     "Place the hips by the suit's position sensor in every frame (default: as "
                     "recorded)");
    command
        .add_option_function<double>(
            "--calibrate-at",
            [&options](double seconds) {
                if (!std::isfinite(seconds) || seconds < 0.0 || seconds > 1e6)
                    throw CLI::ValidationError("--calibrate-at",
                                               "a number of seconds from 0 into the take");
                options.settings.calibrateAt = int64_t(std::llround(seconds * 1e9));
            },
            "Calibrate on the datagram received S seconds into the raw take (the latest one "
            "by then); the take then holds the recorded frames from there on (default: "
            "calibrate where the recording did)")
        ->type_name("S");
    AddTakeUnitsOption(command, options.units);
}
} // namespace

void AddSolveCommand(CLI::App& app, CommandRun& run)
{
    auto options = std::make_shared<SolveOptions>();
    CLI::App* command = app.add_subcommand(
        "solve", "Solve a raw take (varnel record --raw) again into a BVH take, with the "
                 "recorded actor, floor and calibration or others");
    command->add_option("RAW", options->input, "The raw take to read")
        ->type_name("FILE")
        ->required();
    command
        ->add_option("-o,--output", options->output, "The BVH file to write; - for standard output")
        ->type_name("FILE")
        ->required();
    AddSolveSettings(*command, *options);
    command->footer(
        "With the recorded settings the take written is the one the recording wrote, byte for "
        "byte. A raw take cut by a crash is solved up to its last whole record.\n\n"
        "Exit status:\n"
        "  0  the take is written\n"
        "  1  the raw take cannot be read or holds no frame, the actor file cannot be read, "
        "the suit has no position sensor for --position-sensor, or the output cannot be "
        "written (the take then goes to a recovery file)\n"
        "  2  a usage error\n");
    command->callback(
        [options, &run] { run.exitStatus = RunSolve(*options, run.out, run.errors); });
}
