// The motion file commands of the File menu: "&Open..." reads a BVH file
// into the take, "Save &As..." writes the take to one.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <string>

// Asks for a BVH file; once it can be read, stops recording and playback,
// lets the user save an unsaved take (MayReplaceTake) and reads the file
// into the skeleton: its bones, frames and frame time.
void OpenMotionFile(ViewerState& state, Shell& shell);

// Asks where to save the take and writes it there; true when written.
// Nothing stops: a running recording is saved as far as it has come.
bool SaveTakeAs(ViewerState& state, Shell& shell);

// Writes the take as it is now to path; true when written. The library
// reports a failure; the take stays as it was either way.
bool WriteTake(ViewerState& state, Shell& shell, const std::string& path);

// For a take that cannot be asked about (the desktop ends the session
// without letting the program ask): writes it, never over another file, as
// take-recovered-<date>-<time>.bvh in folder and remembers it as the current
// file, so the next Open proposes it. True when written.
bool SaveTakeForRecovery(ViewerState& state, Shell& shell, const std::string& folder);
