// Turning stored datagrams into frames for the client: the receive thread's
// calibration and processing pass, and VarnelRead for clients that poll.
#pragma once

#include "suitlink/suit_slot.h"

// Marks a slot opened without a frame callback; never called.
void DefaultFrameCallback(const SkeletonFrame* pose, VarnelHandle suit);

// Store step, LibraryLock held, after hasData is set: an uncalibrated suit is
// calibrated on its first datagram.
void CalibrateOnFirstDatagram(SuitSlot* slot);

// Processing pass over the whole table, run whenever the socket is drained:
// each slot with stored datagrams gets one frame; the datagrams that a later
// one overwrote count as dropped.
void ProcessPendingFrames();

// One frame of a slot: solve it into CurrentPose and hand it to the slot's
// frame callback, all under LibraryLock.
void DeliverFrame(SuitSlot* slot);

// True on the receive thread while it runs a client's frame callback.
bool InsideFrameCallback();
