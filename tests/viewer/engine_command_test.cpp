// The Actions commands and the playback tick without a suit: the modes they
// move between, the report at the end of a take and the playback timer.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/commands.h"
#include "viewer/engine.h"
#include "viewer/engine_commands.h"

#include <cmath>

namespace {
class EngineCommandTest : public ViewerTest {
  protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        MakeTake(state, {PoseAt({}, 1), PoseAt({}, 2), PoseAt({}, 3), PoseAt({}, 4)});
        // A frame time so long that no tick comes while a test looks.
        state.Skeleton.frameTime = 50.0f;
    }
    void TearDown() override
    {
        EndPlayback(state);
        SetClockSourceForTesting(nullptr);
        ViewerTest::TearDown();
    }

    struct Modes {
        int recording, playing, paused, frame;
        bool operator==(const Modes&) const = default;
    };
    void Enter(Modes modes)
    {
        state.Recording = modes.recording, state.Playing = modes.playing;
        state.Paused = modes.paused, state.PlaybackFrame = modes.frame;
        if (modes.playing)
            state.playbackTimer.Start(std::chrono::hours(1), [] { return true; });
    }
    Modes Now() { return {state.Recording, state.Playing, state.Paused, state.PlaybackFrame}; }
};

TEST_F(EngineCommandTest, CommandsMoveBetweenTheModesAsTheTableSays)
{
    using Run = void (*)(ViewerState&, Shell&);
    struct Case {
        const char* name;
        Modes from;
        Run command;
        Modes to;
    } cases[] = {
        {"idle, Play", {0, 0, 0, 2}, PlayCommand, {0, 1, 0, 0}},
        {"idle, Pause", {0, 0, 0, 2}, PauseCommand, {0, 1, 0, 0}},
        {"playing, Play", {0, 1, 0, 2}, PlayCommand, {0, 1, 0, 2}},
        {"paused playback, Play", {0, 1, 1, 2}, PlayCommand, {0, 1, 0, 2}},
        {"playing, Pause", {0, 1, 0, 2}, PauseCommand, {0, 1, 1, 2}},
        {"paused playback, Pause", {0, 1, 1, 2}, PauseCommand, {0, 1, 0, 2}},
        {"playing, Stop", {0, 1, 1, 2}, StopCommand, {0, 0, 0, 0}},
        {"recording, Pause", {1, 0, 0, 0}, PauseCommand, {1, 0, 1, 0}},
        {"paused recording, Pause", {1, 0, 1, 0}, PauseCommand, {1, 0, 0, 0}},
        {"recording, Record", {1, 0, 1, 0}, RecordCommand, {0, 0, 0, 0}},
        {"recording, Stop", {1, 0, 0, 0}, StopCommand, {0, 0, 0, 0}},
        {"recording, Play", {1, 0, 1, 0}, PlayCommand, {0, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        Enter(c.from);
        c.command(state, shell);
        EXPECT_EQ(Now(), c.to) << c.name;
        EXPECT_EQ(state.playbackTimer.Running(), bool(c.to.playing)) << c.name;
        EXPECT_EQ(shell.menuChecks[Command::Play], bool(c.to.playing)) << c.name;
        EXPECT_EQ(shell.menuChecks[Command::Pause], bool(c.to.paused)) << c.name;
        EXPECT_EQ(shell.menuChecks[Command::Record], bool(c.to.recording)) << c.name;
        const char* pane0 = c.command == StopCommand          ? "Ready"
                            : c.to.playing && !c.from.playing ? "Playing at 0.02 frames per second"
                                                              : nullptr;
        if (pane0) {
            EXPECT_EQ(shell.Status(StatusPane::Messages), pane0) << c.name;
        }
        EndPlayback(state);
    }
}

TEST_F(EngineCommandTest, PausingARecordingStoresNothingUntilItResumes)
{
    state.Recording = 1;
    SkeletonFrame pose = PoseAt({}, 9);
    const int before = state.Skeleton.numFrames;
    PauseCommand(state, shell);
    ViewerFrameCallback(&pose, nullptr);
    EXPECT_EQ(state.Skeleton.numFrames, before);
    PauseCommand(state, shell);
    ViewerFrameCallback(&pose, nullptr);
    EXPECT_EQ(state.Skeleton.numFrames, before + 1);
    EXPECT_EQ(state.Skeleton.frames[before].counter, 9);
}

TEST_F(EngineCommandTest, TickStepsWrapsOrEndsOnTheLastFrame)
{
    struct Case {
        int loop, paused, from;
        int to, playing;
        bool goesOn;
    } cases[] = {
        {0, 0, 1, 2, 1, true}, {0, 0, 3, 3, 0, false}, {1, 0, 3, 0, 1, true},
        {1, 0, 2, 3, 1, true}, {0, 1, 2, 2, 1, true},
    };
    for (const Case& c : cases) {
        state.Loop = c.loop, state.Paused = c.paused;
        state.Playing = 1, state.PlaybackFrame = c.from;
        EXPECT_EQ(PlaybackTick(state, shell), c.goesOn) << c.loop << c.from;
        EXPECT_EQ(state.PlaybackFrame, c.to) << c.loop << c.from;
        EXPECT_EQ(state.Playing, c.playing) << c.loop << c.from;
    }
}

TEST_F(EngineCommandTest, WithoutATakePlayingStartsButTheTickChangesNothing)
{
    VarnelFreeSkeletonFrames(&state.Skeleton);
    PlayCommand(state, shell);
    EXPECT_TRUE(state.playbackTimer.Running());
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Playing at 0.02 frames per second");
    EXPECT_TRUE(PlaybackTick(state, shell));
    EXPECT_EQ(state.PlaybackFrame, 0);
    EXPECT_EQ(shell.repaintRequests, 0);
}

TEST_F(EngineCommandTest, PlaybackPeriodIsTheFrameTimeInWholeMilliseconds)
{
    const std::pair<float, int> cases[] = {
        {1.0f / 30, 33}, {1.0f / 120, 8}, {1.0f / 60, 16}, {0.02f, 20},
        {0.0005f, 0},    {0.0f, 0},       {-1.0f, 0},      {NAN, 0},
    };
    for (auto [frameTime, milliseconds] : cases)
        EXPECT_EQ(PlaybackPeriod(frameTime).count(), milliseconds) << frameTime;
}

TEST_F(EngineCommandTest, ATimerThatCannotStartIsSaidAndPlayingStaysOn)
{
    state.Skeleton.frameTime = 0.0001f; // faster than a millisecond
    PlayCommand(state, shell);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Couldn't start playback timer");
    EXPECT_EQ(shell.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(state.Playing, 1);
    EXPECT_FALSE(state.playbackTimer.Running());
}

TEST_F(EngineCommandTest, PlaybackOnTheTimerEndsOnTheLastFrameOrKeepsLooping)
{
    state.Skeleton.frameTime = 0.001f;
    state.Loop = 0;
    PlayCommand(state, shell);
    ASSERT_TRUE(WaitUntil([&] { return !state.playbackTimer.Running(); }));
    EXPECT_EQ(state.Playing, 0);
    EXPECT_EQ(state.PlaybackFrame, 3);
    EXPECT_EQ(shell.repaintRequests, 1);

    state.Loop = 1;
    PlayCommand(state, shell);
    // Frame 0 again after the last one: the take went round.
    bool sawLast = false;
    ASSERT_TRUE(WaitUntil([&] {
        sawLast = sawLast || state.PlaybackFrame == 3;
        return sawLast && state.PlaybackFrame == 0;
    }));
    EXPECT_TRUE(state.playbackTimer.Running());
    StopCommand(state, shell);
    EXPECT_FALSE(state.playbackTimer.Running());
    EXPECT_EQ(state.PlaybackFrame, 0);
}

TEST_F(EngineCommandTest, TheEndOfATakeReportsItsAverageRateAndBeeps)
{
    struct Case {
        int report, frames;
        uint32_t elapsed;
        const char* pane1;
    } cases[] = {
        {1, 301, 10000, "Average Frame rate 30.000 FPS, Dropped: 0"},
        {1, 121, 1000, "Average Frame rate 120.000 FPS, Dropped: 0"},
        {1, 301, 0, ""},
        {1, 1, 10000, ""},
        {0, 301, 10000, ""},
    };
    for (const Case& c : cases) {
        FakeShell window;
        state.MainFrame = &window;
        VarnelFreeSkeletonFrames(&state.Skeleton); // MakeTake builds on a skeleton without frames
        MakeTake(state, std::vector<SkeletonFrame>(size_t(c.frames)));
        state.ReportFrameRate = c.report;
        FakeClock::Install(0xfffff000u); // the counter wraps meanwhile
        state.Recording = 1;
        state.RecordStartTime = FakeClock::Now();
        FakeClock::Set(FakeClock::Now() + c.elapsed);
        RecordCommand(state, window);
        EXPECT_EQ(window.Status(StatusPane::FrameCounter), c.pane1) << c.frames << c.elapsed;
        EXPECT_EQ(window.beeps, (std::vector<std::pair<int, int>>{{1047, 250}}));
    }
    state.MainFrame = &shell;
}

TEST_F(EngineCommandTest, RecordAndLiveWithoutAnySuitSayNoneWasFoundAndChangeNothing)
{
    for (auto command : {RecordCommand, LiveCommand}) {
        FakeShell window;
        command(state, window);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "No Varnel suits detected");
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(state.Recording + state.Live, 0);
        EXPECT_EQ(state.Skeleton.numFrames, 4);
    }
}
} // namespace
