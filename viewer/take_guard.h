// A recorded take is never lost by a keystroke: before anything replaces or
// drops a take that was never saved, the user may save it first.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

// On the user-interface thread, before closing the window, opening another
// file or starting a new recording. True when the take may go: it was saved
// and not changed since, there is none, or the user saved or discarded it.
// False when the user cancelled: the caller keeps everything as it is.
bool MayReplaceTake(ViewerState& state, Shell& shell);
