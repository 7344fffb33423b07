// The live, record and playback engine: the callbacks the viewer gives the
// library when it opens a suit.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <string>

// The frame callback, on the library's receive thread with the library lock
// held: a few flag tests, at most one append to the take and one copy into
// the live frame, and at most one repaint request outstanding. It never
// touches a widget.
void ViewerFrameCallback(const SkeletonFrame* pose, VarnelHandle suit);

// The timeout callback, on a library thread: only posts the prompt to the
// user-interface thread and returns.
void ViewerTimeoutCallback(VarnelHandle suit);

// On the user-interface thread: the "Timeout on suit at ..." box with Retry
// and Cancel, one box at a time. A prompt for a suit that is no longer the
// viewer's is dropped: its handle may be gone.
void ShowTimeoutPrompt(ViewerState& state, Shell& shell, VarnelHandle suit);

// The suit's address and port, "192.168.1.20:5000", followed by its name in
// double quotes when it has one.
std::string SuitEndpointText(const SuitInfo& info);
std::string SuitEndpointText(VarnelHandle suit);

// Opens the first free suit with the viewer's callbacks, switches its
// position sensor as the settings say and hands over the floor.
void OpenSuit(ViewerState& state);

// The record limit in frames: RecordLimitFS frames, or RecordLimitFS seconds
// at the suit's nominal rate rounded to the nearest frame (0 without a suit).
int RecordLimitInFrames(const ViewerState& state, VarnelHandle suit);

// The take's frame count, read under takeLock: a recording may be appending.
int TakeFrameCount(ViewerState& state);
