#include "viewer/engine_commands.h"

#include "platform/clock.h"
#include "viewer/commands.h"
#include "viewer/engine.h"
#include "viewer/take_guard.h"
#include "viewer/text_format.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int CalibrationBeepHz = 1047;
constexpr int RecordBeepHz = 1568;
constexpr int BeepMilliseconds = 250;
constexpr int LongestRecordDelay = 999; // seconds, as the options dialog allows

const char* ModeText(const ViewerState& state)
{
    return state.Live ? "Live" : "Ready";
}

// False, with the user told, when no suit is known and none answers.
bool FindSuit(Shell& shell)
{
    if (VarnelNumSuits() == 0 && VarnelFindSuits() <= 0) {
        shell.ShowMessage("No Varnel suits detected", MessageIcon::Warning);
        return false;
    }
    return true;
}

enum class CountdownTo { Calibration, Recording };

void Countdown(ViewerState& state, Shell& shell, CountdownTo what)
{
    if (!state.RecordDelayEnable)
        return;
    // Only an edited settings file holds a delay outside the dialog's range.
    int seconds = std::clamp(state.RecordDelay.load(), 0, LongestRecordDelay);
    for (int n = seconds; n >= 1; n--) {
        const char* plural = n == 1 ? "" : "s";
        shell.SetStatusText(StatusPane::Messages,
                            what == CountdownTo::Calibration
                                ? FormatText("Calibrating in %d second%s", n, plural)
                                : FormatText("Recording in %d second%s", n, plural));
        shell.Wait(1000);
    }
}

// Calibration waits, holding nothing, for the suit's first datagram; a
// silent suit would hang the window there. The window paints meanwhile.
bool WaitForFirstDatagram(Shell& shell, VarnelHandle suit)
{
    SkeletonFrame pose;
    for (int waited = 0; !VarnelRead(suit, &pose); waited += FirstDatagramWaitStep) {
        if (waited >= FirstDatagramWaitMilliseconds)
            return false;
        shell.Wait(FirstDatagramWaitStep);
    }
    return true;
}

void StartRecording(ViewerState& state, Shell& shell)
{
    Countdown(state, shell, CountdownTo::Recording);
    if (state.RecordBeep)
        shell.Beep(RecordBeepHz, BeepMilliseconds);
    VarnelHandle suit = state.SuitHandle;
    float rate = VarnelGetFrameRate(suit);
    {
        std::lock_guard hold(state.takeLock);
        VarnelFreeSkeletonFrames(&state.Skeleton);
        // Without a suit the library has no rate: the take keeps the
        // skeleton's frame time rather than an infinite one.
        if (rate > 0)
            state.Skeleton.frameTime = 1.0f / rate;
        else if (state.Skeleton.frameTime > 0)
            rate = 1.0f / state.Skeleton.frameTime;
    }
    state.PlaybackFrame = 0;
    state.TakeUnsaved = 0; // the old take is gone; the new one counts once it holds a frame
    state.OutOfMemoryReported = 0;
    shell.SetStatusText(StatusPane::Messages,
                        FormatText("Recording at %.2f frames per second", double(rate)));
    VarnelClearDropped(suit);
    // Kept whether or not the report is on: it may be switched on meanwhile.
    state.RecordStartTime = MillisecondCounter();
    state.Recording = 1;
    UpdateMenuChecks(state, shell);
}

void StartPlayback(ViewerState& state, Shell& shell)
{
    state.playbackTimer.Stop();
    bool started =
        state.playbackTimer.Start(PlaybackPeriod(state.Skeleton.frameTime),
                                  [&state, &shell] { return PlaybackTick(state, shell); });
    if (!started)
        shell.ShowMessage("Couldn't start playback timer", MessageIcon::Warning);
}

void PlayFromFirstFrame(ViewerState& state, Shell& shell)
{
    state.Paused = 0;
    state.PlaybackFrame = 0;
    state.Playing = 1;
    StartPlayback(state, shell);
    shell.SetStatusText(StatusPane::Messages, FormatText("Playing at %.2f frames per second",
                                                         1.0 / double(state.Skeleton.frameTime)));
}
} // namespace

void LiveCommand(ViewerState& state, Shell& shell)
{
    const bool switchingOn = !state.Live;
    if (switchingOn && !FindSuit(shell))
        return;
    OpenSuit(state);
    if (switchingOn) {
        Countdown(state, shell, CountdownTo::Calibration);
        VarnelHandle suit = state.SuitHandle;
        // No suit could be opened: Live goes on without one, as Record does.
        if (suit && !WaitForFirstDatagram(shell, suit)) {
            shell.SetStatusText(StatusPane::Messages, ModeText(state));
            shell.ShowMessage(
                FormatText("No data from the suit at %s", SuitEndpointText(suit).c_str()),
                MessageIcon::Warning);
            return;
        }
        // The beep marks the moment of calibration: the actor holds the pose until then.
        if (state.RecordBeep)
            shell.Beep(CalibrationBeepHz, BeepMilliseconds);
        VarnelSetNull(suit);
        VarnelClearDropped(suit);
    }
    state.Live = switchingOn ? 1 : 0;
    shell.SetStatusText(StatusPane::Messages, ModeText(state));
    UpdateMenuChecks(state, shell);
}

void RecordCommand(ViewerState& state, Shell& shell)
{
    const bool starting = !state.Recording;
    if (starting && (!MayReplaceTake(state, shell) || !FindSuit(shell)))
        return;
    OpenSuit(state);
    EndPlayback(state);
    if (starting)
        StartRecording(state, shell);
    else
        EndRecording(state, shell);
}

void EndRecording(ViewerState& state, Shell& shell)
{
    state.Recording = 0;
    VarnelHandle suit = state.SuitHandle;
    uint32_t elapsed = MillisecondCounter() - state.RecordStartTime;
    // Takes takeLock after Recording is 0: a frame callback still on its way
    // finds it 0 under the lock, so the take is settled from here on.
    int frames = TakeFrameCount(state);
    if (state.ReportFrameRate && elapsed != 0 && frames > 1)
        shell.SetStatusText(StatusPane::FrameCounter,
                            FormatText("Average Frame rate %.3f FPS, Dropped: %u",
                                       1000.0 / elapsed * (frames - 1), VarnelGetDropped(suit)));
    if (state.RecordBeep) {
        shell.Beep(CalibrationBeepHz, BeepMilliseconds);
        VarnelClearDropped(suit);
    }
    UpdateMenuChecks(state, shell);
}

void PlayCommand(ViewerState& state, Shell& shell)
{
    if (state.Recording)
        RecordCommand(state, shell);
    state.Paused = 0;
    if (!state.Playing)
        PlayFromFirstFrame(state, shell);
    UpdateMenuChecks(state, shell);
}

void PauseCommand(ViewerState& state, Shell& shell)
{
    if (state.Recording || state.Playing)
        state.Paused = state.Paused ? 0 : 1;
    else
        PlayFromFirstFrame(state, shell);
    UpdateMenuChecks(state, shell);
}

void StopCommand(ViewerState& state, Shell& shell)
{
    shell.SetStatusText(StatusPane::Messages, ModeText(state));
    if (state.Recording)
        RecordCommand(state, shell);
    EndPlayback(state);
    state.PlaybackFrame = 0;
    UpdateMenuChecks(state, shell);
}

void EndPlayback(ViewerState& state)
{
    state.playbackTimer.Stop();
    state.Playing = 0;
    state.Paused = 0;
}

std::chrono::milliseconds PlaybackPeriod(float frameTime)
{
    // In single precision, as the take stores it: 0.02 s is then 20 ms, not 19.
    float milliseconds = frameTime * 1000.0f;
    if (!(milliseconds >= 1.0f && milliseconds < 1e9f))
        return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(int64_t(milliseconds));
}

bool PlaybackTick(ViewerState& state, Shell& shell)
{
    if (!state.Playing || state.Paused)
        return true;
    int frames;
    {
        std::lock_guard hold(state.takeLock);
        if (!state.Skeleton.frames)
            return true;
        frames = state.Skeleton.numFrames;
    }
    bool goOn = true;
    int next = state.PlaybackFrame + 1;
    if (next >= frames) {
        if (state.Loop) {
            next = 0;
        } else {
            // The last frame stays on screen.
            next = std::max(frames - 1, 0);
            state.Playing = 0;
            goOn = false;
        }
    }
    state.PlaybackFrame = next;
    if (!state.RepaintPending.exchange(1))
        shell.RequestRepaint();
    return goOn;
}
