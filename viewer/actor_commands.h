// The commands between the open suit's actor measurements and files or the
// skeleton: "&Load Actor File...", "Store Actor &File..." and "&Default Model".
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

// Reads an actor file and gives it to the suit; the status pane says whether
// it was read. The skeleton's bones stay until "&Default Model".
void LoadActorFile(ViewerState& state, Shell& shell);

// Writes the suit's actor measurements to a file, in inches.
void StoreActorFile(ViewerState& state, Shell& shell);

// Stops recording and playback and gives the skeleton the suit's bones; the
// take's frames stay. Without a suit it does nothing.
void DefaultModel(ViewerState& state, Shell& shell);
