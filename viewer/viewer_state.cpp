#include "viewer/viewer_state.h"

#include <new>

ViewerState& Viewer()
{
    // Never destroyed: a library thread may still reach it while the
    // process exits.
    static ViewerState* const state = new ViewerState;
    return *state;
}

void ResetViewerForTesting()
{
    ViewerState& state = Viewer();
    VarnelFreeSkeletonFrames(&state.Skeleton);
    // Rebuilt in place, so references that tests hold stay valid.
    state.~ViewerState();
    new (&state) ViewerState;
}
