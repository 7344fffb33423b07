// Turning stored datagrams into frames for the client (receive thread).
#pragma once

#include "suit_slot.h"

// Marks a slot opened without a frame callback; never called.
void DefaultFrameCallback(const SkeletonFrame* pose, VarnelHandle suit);

// Store step, LibraryLock held, after hasData is set: an uncalibrated suit is
// calibrated on its first datagram.
void CalibrateOnFirstDatagram(SuitSlot* slot);

// Processing pass over the whole table, run whenever the socket is drained:
// each slot with stored datagrams gets one frame; the datagrams that a later
// one overwrote count as dropped.
void ProcessPendingFrames();

// One frame of a slot: solve and hand it to the frame callback.
void DeliverFrame(SuitSlot* slot);
