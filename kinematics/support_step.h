// Which foot point carries the body, and where that puts the hips: the body
// is carried so that its support point stays where it stood on the floor.
#pragma once

#include "kinematics/leg_skeleton.h"
#include "varnel.h"

#include <cstdint>

// A suit's memory of its previous solve.
struct SupportState {
    int32_t supportIndex = -1;                    // FootPoint; -1 before the first calibration
    Vector previousContacts[FootPointCount] = {}; // hips-relative
    Vector rootOffset = {};                       // world position of the hips joint
};

enum class SupportMode {
    Calibration,    // hips over the origin, lowest point on the floor
    Legs,           // travel worked out from the legs
    PositionSensor, // horizontal travel from the suit's position sensor
};

// Chooses the support point among footPoints (hips-relative, this frame) and
// moves state.rootOffset accordingly; sensorTravel (inches from the
// calibration position) is used only in PositionSensor mode. Reads the floor.
// Outside calibration, a frame whose points or offset are not finite leaves
// state as it was.
void StepSupport(const Vector footPoints[FootPointCount], SupportMode mode, Vector sensorTravel,
                 SupportState& state);

// The fraction of the frame, in [0, 1], after which the new support point
// takes over: where the point, moving from start along path over the frame,
// meets the floor. 1 when it does not meet it within the frame.
float HandOverFraction(const FloorGeometry& floor, Vector start, Vector path);
