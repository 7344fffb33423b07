#include "skeleton/frame_store.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/engine.h"
#include "viewer/paint.h"

namespace {
class FrameCallbackTest : public ViewerTest {
  protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        MakeTake(state, {}); // as a recording starts
    }
    void Deliver(int marker)
    {
        SkeletonFrame pose = PoseAt({1, 2, 3}, marker);
        ViewerFrameCallback(&pose, nullptr);
    }
};

TEST_F(FrameCallbackTest, ModesDecideWhetherAFrameIsStoredAndShown)
{
    struct Case {
        int recording, live, playing, paused, stored;
        bool shown;
    } cases[] = {{0, 0, 0, 0, 0, false}, {0, 1, 0, 0, 0, true}, {0, 1, 1, 0, 0, false},
                 {1, 0, 0, 0, 1, true},  {1, 1, 0, 1, 0, true}, {1, 0, 1, 0, 0, false}};
    for (const Case& c : cases) {
        VarnelFreeSkeletonFrames(&state.Skeleton);
        state.RepaintPending = state.LiveFrame.counter = shell.repaintRequests = 0;
        state.Recording = c.recording, state.Live = c.live;
        state.Playing = c.playing, state.Paused = c.paused;
        Deliver(5);
        EXPECT_EQ(state.Skeleton.numFrames, c.stored);
        EXPECT_EQ(shell.repaintRequests, int(c.shown));
        EXPECT_EQ(state.LiveFrame.counter, c.shown ? 5 : 0);
        EXPECT_EQ(state.TakeUnsaved.exchange(0), c.stored);
    }
}

TEST_F(FrameCallbackTest, IgnoreLowerBodyZeroesItInTheRecordedAndTheShownFrame)
{
    state.Recording = state.IgnoreLowerBody = 1;
    SkeletonFrame pose = PoseAt({0, 0, 0}, 7);
    for (int i = 0; i < VARNEL_NUM_CHANNELS; i++)
        pose.channels[i] = float(i + 1);
    ViewerFrameCallback(&pose, nullptr);
    ASSERT_EQ(state.Skeleton.numFrames, 1);
    for (const SkeletonFrame* frame : {&state.Skeleton.frames[0], &state.LiveFrame})
        for (int i = 0; i < VARNEL_NUM_CHANNELS; i++)
            EXPECT_EQ(frame->channels[i], i < 24 ? 0.0f : float(i + 1)) << i;
}

TEST_F(FrameCallbackTest, FramesArrivingWhileARepaintIsPendingAreRecordedButNotShown)
{
    state.Recording = 1;
    for (int marker = 1; marker <= 3; marker++)
        Deliver(marker);
    EXPECT_EQ(state.Skeleton.numFrames, 3);
    EXPECT_EQ(shell.repaintRequests, 1);
    EXPECT_EQ(state.LiveFrame.counter, 1);

    RecordingCanvas canvas;
    PaintView(state, shell, canvas, {800, 600}, 1000);
    Deliver(4);
    EXPECT_EQ(shell.repaintRequests, 2);
    EXPECT_EQ(state.LiveFrame.counter, 4);
}

TEST_F(FrameCallbackTest, RecordLimitPostsStopWithEveryFrameAndStoresNothingMore)
{
    const std::tuple<int, int, int, int> cases[] = {// stop, limit -> stored, stops
                                                    {1, 2, 2, 2},
                                                    {1, 0, 0, 4},
                                                    {0, 2, 4, 0}};
    for (auto [recordStop, limit, stored, stops] : cases) {
        FakeShell window;
        state.MainFrame = &window;
        VarnelFreeSkeletonFrames(&state.Skeleton);
        state.Recording = state.RecordFramesOrSeconds = 1;
        state.RecordStop = recordStop, state.RecordLimitFS = limit;
        for (int marker = 1; marker <= 4; marker++)
            Deliver(marker);
        EXPECT_EQ(state.Skeleton.numFrames, stored);
        EXPECT_EQ(window.PostedCommands(), std::vector<Command>(stops, Command::Stop));
    }
    state.MainFrame = &shell;
}

TEST_F(FrameCallbackTest, OutOfMemoryStopsTheRecordingWithoutWaitingForTheUser)
{
    state.Recording = 1;
    SetFrameReallocatorForTesting([](void*, size_t) -> void* { return nullptr; });
    for (int marker = 2; marker <= 4; marker++)
        Deliver(marker);
    SetFrameReallocatorForTesting(nullptr);

    EXPECT_EQ(state.Skeleton.numFrames, 0);
    EXPECT_EQ(state.TakeUnsaved, 0);
    EXPECT_EQ(shell.PostedCommands(), std::vector<Command>(3, Command::Stop));
    ASSERT_EQ(shell.PostedMessages().size(), 1u); // once per take, not per frame
    EXPECT_EQ(shell.PostedMessages()[0].text, "Out of memory during record");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(state.LiveFrame.counter, 2); // still shown, once
}
} // namespace
