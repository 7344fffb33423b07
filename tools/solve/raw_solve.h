// A raw take solved again: its datagrams through the library's raw solver,
// calibrated and solved where the live take was, or calibrated at another
// instant, with the take's actor and floor or others.
#pragma once

#include "tools/cli/raw_take.h"
#include "varnel.h"

#include <cstdint>
#include <optional>
#include <string>

struct RawSolveSettings {
    std::optional<ActorData> actor;     // else the take's
    std::optional<FloorGeometry> floor; // else the take's
    bool positionSensor = false;        // every frame; else as recorded
    std::optional<int64_t> calibrateAt; // ns; else where the take calibrated
};

// Solves the take's kept frames into take (its frames replaced, its bones
// the actor's, its frame time the take's). Sets the library's floor.
// Returns "" or why the take cannot be solved.
std::string SolveRawTake(const RawTake& raw, const RawSolveSettings& settings, Skeleton& take);
