#include "viewer/paint.h"

#include "tests/viewer/viewer_test_support.h"

namespace {
class PaintTest : public ViewerTest {
  protected:
    void Paint(uint32_t now) { PaintView(state, shell, canvas, {800, 600}, now); }
    RecordingCanvas canvas;
};

TEST_F(PaintTest, DisplayRateComesFromTheTimeSinceTheLastPaint)
{
    const std::pair<uint32_t, const char*> paints[] = {{1000, ""}, // nothing to measure yet
                                                       {1040, "Display:  25.0 FPS, Offline"},
                                                       {1040, ""},
                                                       {3040, ""}, // under one paint a second
                                                       {3041, "Display: 1000.0 FPS, Offline"}};
    for (auto [now, rate] : paints) {
        Paint(now);
        EXPECT_EQ(shell.Status(StatusPane::DisplayRate), rate) << now;
    }
}

TEST_F(PaintTest, RawChannelsReplaceTheScene)
{
    MakeTake(state, {PoseAt({0, 0, 40})});
    Paint(1000);
    EXPECT_FALSE(canvas.Drawn(CanvasCallKind::Line).empty());
    canvas.calls.clear();
    state.RenderType = 3;
    state.RepaintPending = 1;
    Paint(1040);
    ASSERT_EQ(canvas.calls.size(), 49u);
    EXPECT_EQ(canvas.Drawn(CanvasCallKind::Fill, Color{128, 128, 128}).size(), 1u);
    std::vector<CanvasCall> texts = canvas.Drawn(CanvasCallKind::Text);
    ASSERT_EQ(texts.size(), 48u);
    EXPECT_EQ(texts[47].text.substr(texts[47].text.size() - 4), "0000"); // no suit
    EXPECT_EQ(state.RepaintPending, 0);
}

TEST_F(PaintTest, FrameCounterWhilePlayingOrRecording)
{
    struct Case {
        int playing, recording, paused, recordStop, framesOrSeconds;
        const char* counter; // null: the pane keeps its text
    } cases[] = {
        {1, 0, 0, 0, 0, "Frame 3 / 10"},  {1, 0, 1, 1, 1, "Frame 3 / 10   (Paused)"},
        {0, 1, 0, 0, 1, "Frame 10"},      {0, 1, 1, 0, 1, "Frame 10   (Paused)"},
        {0, 1, 0, 1, 1, "Frame 10 / 25"}, {0, 1, 0, 1, 0, "Frame 10 / 0"}, // no suit, no rate
        {0, 0, 0, 1, 1, nullptr},
    };
    MakeTake(state, std::vector<SkeletonFrame>(10, PoseAt({0, 0, 40})));
    state.RecordLimitFS = 25;
    for (const Case& c : cases) {
        state.Playing = c.playing, state.Recording = c.recording, state.Paused = c.paused;
        state.RecordStop = c.recordStop, state.RecordFramesOrSeconds = c.framesOrSeconds;
        state.PlaybackFrame = 2;
        shell.statusTexts.clear();
        Paint(1000);
        EXPECT_EQ(shell.statusTexts.count(StatusPane::FrameCounter), c.counter ? 1u : 0u);
        EXPECT_EQ(shell.Status(StatusPane::FrameCounter), c.counter ? c.counter : "");
    }
}
} // namespace
