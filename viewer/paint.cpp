#include "viewer/paint.h"

#include "render/scene.h"
#include "viewer/displayed_frame.h"
#include "viewer/engine.h"
#include "viewer/text_format.h"

#include <optional>

namespace {
constexpr Color Background = {128, 128, 128};

// Pane 1 while a take plays or records; none otherwise, so the pane keeps
// what the engine last wrote there.
// Texts go into buffers of the paint's own stack: a paint allocates nothing.
using PaneText = char[80];

std::optional<std::string_view> FrameCounterText(ViewerState& state, PaneText& text)
{
    const char* suffix = state.Paused ? "   (Paused)" : "";
    int frameCount = TakeFrameCount(state);
    if (state.Playing)
        return FormatTextInto(text, sizeof text, "Frame %d / %d%s", state.PlaybackFrame + 1,
                              frameCount, suffix);
    if (!state.Recording)
        return std::nullopt;
    if (state.RecordStop)
        return FormatTextInto(text, sizeof text, "Frame %d / %d%s", frameCount,
                              RecordLimitInFrames(state, state.SuitHandle), suffix);
    return FormatTextInto(text, sizeof text, "Frame %d%s", frameCount, suffix);
}

// Pane 2: the rate of the paints themselves, from the time since the last.
std::string_view DisplayRateText(const ViewerState& state, uint32_t now, PaneText& text)
{
    if (state.LastPaintTime == 0 || state.LastPaintTime == now)
        return {};
    // Unsigned, so a wrap of the millisecond counter still gives the interval.
    float rate = 1000.0f / float(now - state.LastPaintTime);
    if (rate < 1.0f)
        return {};
    if (VarnelHandle suit = state.SuitHandle)
        return FormatTextInto(text, sizeof text, "Display: %5.1f FPS, Dropped: %u", double(rate),
                              VarnelGetDropped(suit));
    return FormatTextInto(text, sizeof text, "Display: %5.1f FPS, Offline", double(rate));
}

SceneOptions SceneOptionsOf(const ViewerState& state)
{
    SceneOptions options;
    options.showGrid = state.ShowGrid != 0;
    options.showAxes = state.ShowAxes != 0;
    options.showFootShadow = state.ShowFootShadow != 0;
    options.showNodes = state.ShowNodes != 0;
    options.showContactPoints = state.ShowContactPoints != 0;
    options.showNodeNames = state.ShowNodeNames != 0;
    options.renderType = state.RenderType;
    return options;
}

void DrawView(ViewerState& state, Canvas& canvas)
{
    if (state.RenderType == RenderRawChannels) {
        uint16_t channels[VARNEL_NUM_RAW_CHANNELS] = {}; // stays zero without a suit
        VarnelGetRaw(state.SuitHandle, channels);
        DrawRawChannels(canvas, channels);
        return;
    }
    if (SelectDisplayedFrame(state))
        DrawScene(canvas, state.camera, state.Skeleton, state.DisplayedContacts, state.Floor,
                  SceneOptionsOf(state));
}
} // namespace

void PaintView(ViewerState& state, Shell& shell, Canvas& canvas, ViewSize view, uint32_t now)
{
    state.camera.ViewWidth = view.width;
    state.camera.ViewHeight = view.height;
    canvas.Fill(Background);
    PaneText counterText, rateText;
    if (std::optional<std::string_view> counter = FrameCounterText(state, counterText))
        shell.SetStatusText(StatusPane::FrameCounter, *counter);
    std::string_view rate = DisplayRateText(state, now, rateText);
    state.LastPaintTime = now;
    shell.SetStatusText(StatusPane::DisplayRate, rate);
    DrawView(state, canvas);
    state.RepaintPending = 0;
}
