#include "viewer/actor_commands.h"

#include "viewer/commands.h"
#include "viewer/file_choice.h"
#include "viewer/text_format.h"

namespace {
// False, after saying so, without a suit.
bool HasSuit(ViewerState& state, Shell& shell)
{
    if (state.SuitHandle)
        return true;
    shell.ShowMessage("You must first connect to a Varnel suit", MessageIcon::Exclamation);
    return false;
}

// The file chosen in the open or save dialog, remembered; "" when cancelled.
// The suit is asked for again afterwards: the user may have given it up at
// a timeout prompt while the dialog was open.
std::string ChooseActorFile(ViewerState& state, Shell& shell, bool save)
{
    if (!HasSuit(state, shell))
        return "";
    Shell::FileDialog dialog = ActorFileDialog(state);
    std::string path = save ? shell.ChooseFileToSave(dialog) : shell.ChooseFileToOpen(dialog);
    if (path.empty())
        return "";
    RememberFile(path, state.CurrentActorFile, state.CurrentActorFileDir);
    return HasSuit(state, shell) ? path : "";
}
} // namespace

void LoadActorFile(ViewerState& state, Shell& shell)
{
    std::string path = ChooseActorFile(state, shell, false);
    if (path.empty())
        return;
    ActorData actor;
    if (!VarnelReadActorData(path.c_str(), &actor)) {
        shell.SetStatusText(StatusPane::Messages,
                            FormatText("Error reading file %s", path.c_str()));
        return;
    }
    VarnelSetActorData(state.SuitHandle, &actor);
    shell.SetStatusText(StatusPane::Messages, FormatText("Reading file %s", path.c_str()));
}

void StoreActorFile(ViewerState& state, Shell& shell)
{
    std::string path = ChooseActorFile(state, shell, true);
    if (path.empty())
        return;
    ActorData actor;
    VarnelGetActorData(state.SuitHandle, &actor);
    VarnelWriteActorData(path.c_str(), &actor, ActorUnitsInches);
}

void DefaultModel(ViewerState& state, Shell& shell)
{
    if (!state.SuitHandle)
        return;
    RunCommand(state, shell, Command::Stop);
    ActorData actor;
    VarnelGetActorData(state.SuitHandle, &actor);
    VarnelCopyActorToSkeleton(&state.Skeleton, &actor);
    shell.Repaint();
}
