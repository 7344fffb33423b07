#include "viewer/take_guard.h"

#include "viewer/file_commands.h"

bool MayReplaceTake(ViewerState& state, Shell& shell)
{
    // A save that was cancelled or failed (the library has said why) asks
    // again, so the user may choose another place.
    while (state.TakeUnsaved) {
        switch (shell.AskSaveTake()) {
        case Shell::SaveTakeAnswer::Save:
            // Saved as far as a running recording has come: the user chose
            // to let the rest go.
            if (SaveTakeAs(state, shell))
                return true;
            break;
        case Shell::SaveTakeAnswer::Discard: state.TakeUnsaved = 0; return true;
        case Shell::SaveTakeAnswer::Cancel: return false;
        }
    }
    return true;
}
