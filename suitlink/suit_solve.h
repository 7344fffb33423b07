// A suit's solves: the pose solver run on the slot's readings, state and
// actor. Callers hold LibraryLock.
#pragma once

#include "suitlink/suit_slot.h"
#include "varnel.h"

// An ordinary frame of the suit's latest readings; an uncalibrated suit is
// calibrated on them first.
void SolvePose(SuitSlot& slot, SkeletonFrame& pose);

// Calibrates the suit on its latest readings (it must hold data) and writes
// the calibration frame; the dropped-frame count starts again.
void CalibrateSuit(SuitSlot& slot, SkeletonFrame& pose);

// Tells the raw callback, if any, of an event of an open suit (a raw
// solver's slot is never open and stays silent).
void ReportRawEvent(const SuitSlot& slot, VarnelRawEvent event, const uint8_t* datagram = nullptr);
