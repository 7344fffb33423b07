// The view's mouse handlers: presses and releases start and end a camera
// drag, moves drag it and ask for a repaint.
#pragma once

#include "render/camera.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"

void OnMouseDown(ViewerState& state, const MouseEvent& event);
void OnMouseUp(ViewerState& state);
void OnMouseMove(ViewerState& state, Shell& shell, const MouseEvent& event);
