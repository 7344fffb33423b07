// The program's start and end around its window: what happens once the
// window and its status bar exist, and when it is asked to close.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <string>

// Once the window exists: reads the settings from settingsPath, starts the
// library (a failure is said and the program goes on), looks for suits
// with the No Varnel Suits Detected prompt when asked to (Abort closes the
// window and ends the start-up), opens the first suit with the viewer's
// callbacks, builds the skeleton, loads the last actor file, hands over the
// floor, sets the menu checks and centres the view.
void StartUp(ViewerState& state, Shell& shell, const std::string& settingsPath);

// On the close request: stops the playback timer and the library, releases
// the frames and writes the settings to settingsPath.
void ShutDown(ViewerState& state, Shell& shell, const std::string& settingsPath);
