// Runs the menu and accelerator commands on the user-interface thread.
#pragma once

#include "viewer/command.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"

void RunCommand(ViewerState& state, Shell& shell, Command command);

// Sets every menu check mark from the state, then repaints the window.
void UpdateMenuChecks(ViewerState& state, Shell& shell);
