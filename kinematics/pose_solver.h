// The pose solver: one suit's latest raw block into a complete frame, and
// the calibration that fixes the zero of every later solve. Callers
// serialise all solves: the solver's leg skeleton and foot points are shared
// by all suits.
#pragma once

#include "kinematics/solver_state.h"
#include "kinematics/support_step.h"
#include "varnel.h"

// An ordinary frame: the jitter filter writes the channels it holds back
// into raw (so raw shows what was solved), then raw is solved against the
// calibration in state with the actor's measurements, and the support state
// moves.
void SolveFrame(SolverState& state, uint8_t raw[SuitRawSize], const ActorData& actor,
                SupportMode mode, SkeletonFrame& pose);

// Takes raw as the null pose (the actor stands in it): records it as the
// calibration, rebuilds the leg skeleton from the actor, stands the body on
// the floor over the origin and writes the calibration frame.
void CalibrateSolver(SolverState& state, const uint8_t raw[SuitRawSize], const ActorData& actor,
                     SkeletonFrame& pose);
