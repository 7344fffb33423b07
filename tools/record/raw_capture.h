// The raw side of a take: the library's raw events of one suit into its
// raw take writer. The events come on the receive thread (or a calibrating
// client thread) with the library lock held, so they only go to memory.
#pragma once

#include "tools/cli/raw_take.h"
#include "varnel.h"

namespace RawCapture {
// Starts the library's raw events. Until a suit is attached they are kept,
// so that a suit's first datagrams, which arrive as soon as it is opened,
// reach its take.
void Begin();
// The suit's events, those kept so far first, go to writer from now on.
void Attach(VarnelHandle suit, RawTakeWriter* writer);
// Stops the events; every writer may be closed afterwards.
void End();
} // namespace RawCapture
