// What the solver keeps of one suit between two frames: its calibration, the
// jitter filter's accepted readings and the support state. One record, so
// that whoever holds a suit keeps or carries it over whole.
#pragma once

#include "common/suit_datagram.h"
#include "kinematics/support_step.h"

#include <cstdint>

struct SolverState {
    // The raw block at calibration, its sensor readings made usable.
    uint8_t nullRaw[SuitRawSize] = {};
    // The datagram counter at calibration.
    uint32_t nullCounter = 0;
    // The jitter filter's accepted channels and the last usable sensor
    // readings.
    uint8_t previousRaw[SuitRawSize] = {};
    SupportState support;
};
