// The frame the view shows and the skeleton posed from it.
#pragma once

#include "viewer/viewer_state.h"

// Chooses the frame to show (the live frame while recording, or while live
// and not playing; else the take's frame at PlaybackFrame), applies Follow
// Character to the camera's pan, poses the skeleton and notes the frame's
// contacts. False when there is no frame to show.
bool SelectDisplayedFrame(ViewerState& state);

// "Center &View": fits the camera to the displayed pose. "Center
// Se&quence": fits it to every frame of the take.
void CenterView(ViewerState& state, Shell& shell);
void CenterSequence(ViewerState& state, Shell& shell);
