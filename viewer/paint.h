// One paint of the main window's view: the status panes for the frame
// counter and the display rate, then the scene (or the raw channels) drawn
// into the canvas, which the window then copies to the screen in one piece.
#pragma once

#include "render/canvas.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <cstdint>

// view is the size the canvas covers; now is the millisecond clock.
void PaintView(ViewerState& state, Shell& shell, Canvas& canvas, ViewSize view, uint32_t now);
