// What the commands that capture live suits (record, stream) ask alike:
// which suits, how each is set up, and how the calibration waits for the
// null pose.
#pragma once

#include "tools/cli/suit_setup.h"
#include "varnel.h"

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>
#include <vector>

struct LiveSuitOptions {
    // None: the first suit found, or every one with allSuits.
    std::vector<SuitChoice> suits;
    bool allSuits = false;
    std::string actorPath; // empty: each suit's current actor
    bool positionSensor = false;
    bool floorGiven = false;
    FloorGeometry floor{};
    double countdownSeconds = 3.0;
    // Calibrate only once every channel has held still; scripts may skip it.
    bool stillCheck = true;
    // How long the suits may take to hold still before the command gives up.
    double stillLimitSeconds = 30.0;
    // How long a suit may stay silent before the command gives up on it.
    double silenceSeconds = 3.0;
};

// Registers --suit, --all, --actor, --position-sensor and --floor; verb
// ("Record", "Stream") starts the help of --suit and --all.
void AddSuitOptions(CLI::App& command, LiveSuitOptions& options, std::string_view verb);
// Registers --countdown and --no-still-check.
void AddCalibrationOptions(CLI::App& command, LiveSuitOptions& options);

// A suit of the library's table, with the index `varnel suits` prints.
struct ChosenSuit {
    int index = 0;
    SuitInfo info{};
};

// The suits the options name among the `count` of the library's table, in
// the order given. Returns an empty text with chosen filled, otherwise what
// is wrong with *status the exit status it calls for.
std::string ChooseSuits(const LiveSuitOptions& options, int count, std::vector<ChosenSuit>& chosen,
                        int* status);

// Loads the actor into an opened suit when the options name an actor file,
// and turns on its position sensor when they ask for it. Returns an empty
// text, otherwise what is wrong (a suit without the sensor).
std::string SetUpOpenedSuit(VarnelHandle suit, const SuitInfo& info, const LiveSuitOptions& options,
                            const ActorData& actor, const std::string& name);
