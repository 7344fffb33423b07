#include "viewer/engine.h"

#include "viewer/commands.h"
#include "viewer/engine_commands.h"
#include "viewer/text_format.h"

#include <algorithm>
#include <arpa/inet.h>
#include <climits>
#include <cstring>

namespace {
// Hips position and rotation and the three joints of each leg.
constexpr int LowerBodyChannels = RightAnkleChannel + 3;

enum class AppendResult { Stored, NotRecording, LimitReached, OutOfMemory };

// The caller works out limit first: that asks the library, whose lock is
// never taken under takeLock.
AppendResult AppendToTake(ViewerState& state, const SkeletonFrame& pose, int limit)
{
    std::lock_guard hold(state.takeLock);
    // Asked again under the lock: once a recording has ended and the lock
    // been taken after it, nothing more is appended and the take may be
    // replaced (Open, a new recording) without the lock.
    if (!state.Recording || state.Paused)
        return AppendResult::NotRecording;
    Skeleton& take = state.Skeleton;
    if (state.RecordStop && take.numFrames >= limit)
        return AppendResult::LimitReached;
    if (!VarnelAddFrame(&take))
        return AppendResult::OutOfMemory;
    take.frames[take.numFrames - 1] = pose;
    return AppendResult::Stored;
}

void RecordFrame(ViewerState& state, Shell& shell, const SkeletonFrame& pose, VarnelHandle suit)
{
    switch (AppendToTake(state, pose, RecordLimitInFrames(state, suit))) {
    case AppendResult::Stored: state.TakeUnsaved = 1; break;
    case AppendResult::NotRecording: break;
    // Posted again with every frame until the Stop has run.
    case AppendResult::LimitReached: shell.PostCommand(Command::Stop); break;
    case AppendResult::OutOfMemory:
        shell.PostCommand(Command::Stop);
        // Once per take: every frame until the Stop has run fails alike.
        if (!state.OutOfMemoryReported.exchange(1))
            shell.PostMessageBox("Out of memory during record", MessageIcon::Exclamation);
        break;
    }
}

void ShowLive(ViewerState& state, Shell& shell, const SkeletonFrame& pose)
{
    // While a repaint is outstanding the live frame stays as it is, so a
    // slow display never slows the recording.
    if (state.RepaintPending.exchange(1))
        return;
    {
        std::lock_guard hold(state.liveFrameLock);
        state.LiveFrame = pose;
    }
    shell.RequestRepaint();
}

void GiveUpOnSuit(ViewerState& state, Shell& shell)
{
    shell.SetStatusText(StatusPane::Messages, state.Live ? "Live" : "Ready");
    if (state.Recording)
        EndRecording(state, shell);
    EndPlayback(state);
    state.PlaybackFrame = 0;
    UpdateMenuChecks(state, shell);
    VarnelClose(state.SuitHandle);
    state.SuitHandle = nullptr;
}
} // namespace

std::string SuitEndpointText(const SuitInfo& info)
{
    uint8_t address[4];
    std::memcpy(address, &info.address, sizeof address);
    std::string text = FormatText("%d.%d.%d.%d:%d", address[0], address[1], address[2], address[3],
                                  ntohs(info.port));
    // The name comes from the network: control characters would garble a
    // box or the suit list.
    std::string name(info.name, strnlen(info.name, sizeof info.name));
    std::replace_if(
        name.begin(), name.end(), [](char c) { return (c >= 0 && c < ' ') || c == '\x7f'; }, '?');
    if (!name.empty())
        text += " \"" + name + "\"";
    return text;
}

std::string SuitEndpointText(VarnelHandle suit)
{
    SuitInfo info;
    VarnelGetSuitInfo(suit, &info);
    return SuitEndpointText(info);
}

int RecordLimitInFrames(const ViewerState& state, VarnelHandle suit)
{
    if (state.RecordFramesOrSeconds)
        return state.RecordLimitFS;
    SuitInfo info;
    VarnelGetSuitInfo(suit, &info);
    double frames = double(state.RecordLimitFS) * info.frameRate + 0.5;
    // Clamped, so an absurd limit from an edited settings file stays a number.
    return int(std::clamp(frames, double(INT_MIN), double(INT_MAX)));
}

int TakeFrameCount(ViewerState& state)
{
    std::lock_guard hold(state.takeLock);
    return state.Skeleton.numFrames;
}

void ViewerFrameCallback(const SkeletonFrame* pose, VarnelHandle suit)
{
    ViewerState& state = Viewer();
    if (!state.Recording && !state.Live)
        return;
    if (state.Playing)
        return;
    // A copy rather than the library's pose: the library hands it out read-only.
    SkeletonFrame upperBodyOnly;
    if (state.IgnoreLowerBody) {
        upperBodyOnly = *pose;
        std::fill_n(upperBodyOnly.channels, LowerBodyChannels, 0.0f);
        pose = &upperBodyOnly;
    }
    Shell& shell = *state.MainFrame;
    if (state.Recording && !state.Paused)
        RecordFrame(state, shell, *pose, suit);
    ShowLive(state, shell, *pose);
}

void ViewerTimeoutCallback(VarnelHandle suit)
{
    Viewer().MainFrame->PostTimeoutPrompt(suit);
}

void ShowTimeoutPrompt(ViewerState& state, Shell& shell, VarnelHandle suit)
{
    if (state.TimeoutPromptOpen)
        return;
    // A prompt for a suit closed or rescanned meanwhile: its handle may be gone.
    if (!suit || suit != state.SuitHandle)
        return;
    state.TimeoutPromptOpen = 1;
    MessageAnswer answer = shell.ShowMessage("Timeout on suit at " + SuitEndpointText(suit),
                                             MessageIcon::Warning, MessageButtons::RetryCancel);
    // Esc on a Retry/Cancel box means Cancel.
    if (answer != MessageAnswer::Retry)
        GiveUpOnSuit(state, shell);
    state.TimeoutPromptOpen = 0;
}

void OpenSuit(ViewerState& state)
{
    if (!state.SuitHandle)
        state.SuitHandle = VarnelOpen(nullptr, ViewerFrameCallback, ViewerTimeoutCallback);
    VarnelEnablePositionSensor(state.SuitHandle, state.UsePositionSensor);
    VarnelSetFloor(state.Floor);
}
