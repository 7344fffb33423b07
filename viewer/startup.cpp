#include "viewer/startup.h"

#include "viewer/commands.h"
#include "viewer/displayed_frame.h"
#include "viewer/engine.h"
#include "viewer/engine_commands.h"
#include "viewer/settings.h"
#include "viewer/text_format.h"

namespace {
void StartLibrary(Shell& shell)
{
    if (!VarnelInit())
        shell.ShowMessage("Error initializing Varnel", MessageIcon::Exclamation);
}

// False when the user chose Abort.
bool LookForSuits(ViewerState& state, Shell& shell)
{
    if (!state.LookForSuitOnStartup)
        return true;
    for (;;) {
        if (VarnelFindSuits() >= 1)
            return true;
        int dontLook = 0;
        NoSuitsAnswer answer = shell.AskNoSuitsDetected(&dontLook);
        if (answer != NoSuitsAnswer::Closed)
            state.LookForSuitOnStartup = dontLook ? 0 : 1;
        if (answer == NoSuitsAnswer::Abort)
            return false;
        if (answer == NoSuitsAnswer::Ignore)
            return true;
    }
}

void BuildSkeleton(ViewerState& state)
{
    VarnelInitSkeleton(&state.Skeleton);
    // Without a suit the library has no rate (0): the skeleton keeps its own
    // frame time.
    if (float rate = VarnelGetFrameRate(state.SuitHandle); rate > 0)
        state.Skeleton.frameTime = 1.0f / rate;
}

void LoadLastActorFile(ViewerState& state, Shell& shell)
{
    const char* path = state.CurrentActorFile.c_str();
    ActorData actor;
    if (!VarnelReadActorData(path, &actor)) {
        shell.SetStatusText(StatusPane::Messages, FormatText("Error reading file %s", path));
        return;
    }
    VarnelSetActorData(state.SuitHandle, &actor);
    shell.SetStatusText(StatusPane::Messages, FormatText("Reading file %s", path));
}

void Autoload(ViewerState& state, Shell& shell)
{
    if (!state.Autoload)
        return;
    if (!state.CurrentActorFile.empty())
        LoadLastActorFile(state, shell);
    Skeleton& skeleton = state.Skeleton;
    if (skeleton.frames && skeleton.numFrames > 0)
        skeleton.frames[0].channels[HipsPositionChannel + 2] = VarnelPutSkeletonOnFloor(&skeleton);
}
} // namespace

void StartUp(ViewerState& state, Shell& shell, const std::string& settingsPath)
{
    shell.SetStatusText(StatusPane::Messages, "Ready");
    LoadSettingsFile(state, settingsPath);
    StartLibrary(shell);
    if (!LookForSuits(state, shell)) {
        shell.PostClose();
        return;
    }
    // Before the suit opens: its callbacks reach the window through it.
    state.MainFrame = &shell;
    OpenSuit(state); // and hands the library the floor
    BuildSkeleton(state);
    Autoload(state, shell);
    UpdateMenuChecks(state, shell);
    CenterView(state, shell);
}

void ShutDown(ViewerState& state, Shell& shell, const std::string& settingsPath)
{
    // The playback timer stops first: its tick steps through the frames
    // released below and asks this window for repaints.
    EndPlayback(state);
    VarnelFinish(); // no callback runs after it
    state.SuitHandle = nullptr;
    VarnelFreeSkeletonFrames(&state.Skeleton);
    if (!SaveSettingsFile(state, settingsPath))
        shell.ShowMessage(FormatText("Can't write file %s", settingsPath.c_str()),
                          MessageIcon::Exclamation);
}
