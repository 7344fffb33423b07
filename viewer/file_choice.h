// Which file a file command works on: the dialog each command shows and
// what the program remembers of the file chosen in it.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <string>

// Motion files (open and save): BVH, starting where the last one was.
Shell::FileDialog MotionFileDialog(const ViewerState& state);
// Actor measurement files (load and store).
Shell::FileDialog ActorFileDialog(const ViewerState& state);

// Remembers the chosen path in file and its folder in folder, without a
// trailing separator except for the root itself ("/").
void RememberFile(const std::string& chosen, std::string& file, std::string& folder);
