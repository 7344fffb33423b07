// The pose solver: one suit's latest raw block into a complete frame, and
// the calibration that fixes the zero of every later solve. Callers hold
// LibraryLock; the solver's leg skeleton and foot points are shared by all
// suits.
#pragma once

#include "suit_slot.h"
#include "varnel.h"

// An ordinary frame: filters slot.raw, solves it against the calibration
// and moves the slot's support state. An uncalibrated slot is calibrated
// on its current reading first.
void SolvePose(SuitSlot& slot, SkeletonFrame& pose);

// Records slot.raw as the null pose (the actor stands in it), rebuilds the
// leg skeleton from the slot's actor, stands the body on the floor over the
// origin and writes the calibration frame. The slot must hold data.
void CalibrateSuit(SuitSlot& slot, SkeletonFrame& pose);
