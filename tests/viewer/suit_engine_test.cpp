// The engine's callbacks on the library's own threads, with suits on the
// loopback network.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/engine.h"
#include "viewer/engine_commands.h"
#include "viewer/paint.h"

#include <arpa/inet.h>

namespace {
class SuitEngineTest : public ViewerTest {
  protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        ASSERT_EQ(VarnelInit(), 1);
    }
    static std::string Endpoint(const TestSuit& suit)
    {
        char address[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &suit.Info().address, address, sizeof address);
        return std::string(address) + ":" + std::to_string(ntohs(suit.Info().port));
    }
};

TEST_F(SuitEngineTest, TimeoutPromptNamesTheSuitAndShowsOneBoxAtATime)
{
    TestSuit named(0x7f010203), unnamed(0x7f010204); // 127.1.2.3 and 127.1.2.4
    ASSERT_EQ(FindSuitsWhileSending({{&named, MakePacket("TestSuit")}, {&unnamed, MakePacket("")}}),
              2);
    VarnelHandle suits[2];
    for (VarnelHandle& suit : suits)
        suit = VarnelOpen(nullptr, nullptr, nullptr);
    shell.messageAnswers = {MessageAnswer::Retry, MessageAnswer::Retry};
    for (VarnelHandle suit : suits) {
        state.SuitHandle = suit;
        shell.whileMessageOpen = [&] { ShowTimeoutPrompt(state, shell, suit); };
        ShowTimeoutPrompt(state, shell, suit);
        ShowTimeoutPrompt(state, shell, suit == suits[0] ? suits[1] : suits[0]); // stale
    }
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text, "Timeout on suit at " + Endpoint(named) + " \"TestSuit\"");
    EXPECT_EQ(shell.messages[1].text, "Timeout on suit at " + Endpoint(unnamed));
    EXPECT_EQ(shell.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(shell.messages[1].buttons, MessageButtons::RetryCancel);
}

TEST_F(SuitEngineTest, ASilentSuitsPromptIsPostedAndCancelGivesTheSuitUp)
{
    TestSuit suit;
    ASSERT_EQ(FindSuitsWhileSending({{&suit, MakePacket("Walker")}}), 1);
    OpenSuit(state);
    state.Live = state.Recording = state.Playing = state.Paused = 1;
    state.PlaybackFrame = 5;
    state.playbackTimer.Start(std::chrono::hours(1), [] { return true; });
    ASSERT_TRUE(WaitUntil([&] { return !shell.PostedTimeoutPrompts().empty(); }));
    EXPECT_TRUE(shell.messages.empty()); // only the window's thread shows it

    ShowTimeoutPrompt(state, shell, shell.PostedTimeoutPrompts()[0]);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Live");
    EXPECT_EQ(state.SuitHandle, nullptr);
    EXPECT_EQ(VarnelHandleFromInfo(&suit.Info()), nullptr); // closed
    EXPECT_EQ(state.Live, 1);
    EXPECT_EQ(state.Recording + state.Playing + state.Paused + state.PlaybackFrame, 0);
    EXPECT_FALSE(state.playbackTimer.Running());
    EXPECT_EQ(shell.beeps, (std::vector<std::pair<int, int>>{{1047, 250}})); // the take's end
    EXPECT_TRUE(shell.menuChecks[Command::Stop]);
}

TEST_F(SuitEngineTest, RecordLimitInSecondsEndsTheTakeAtTheSuitsRateWhileTheWindowPaints)
{
    TestSuit suit;
    SuitDatagram packet = MakePacket("Walker", 40.0f);
    ASSERT_EQ(FindSuitsWhileSending({{&suit, packet}}), 1);
    state.Floor.z0 = 2.5f;
    OpenSuit(state);
    FloorGeometry floor;
    VarnelGetFloor(&floor);
    EXPECT_EQ(floor.z0, 2.5f);

    MakeTake(state, {});
    state.Recording = state.RecordStop = state.RecordLimitFS = 1; // one second: 40 frames
    RecordingCanvas canvas;
    for (uint32_t now = 1; shell.PostedCommands().size() < 3 && now < 5000; now++) {
        suit.Send(packet);
        PaintView(state, shell, canvas, {800, 600}, now);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    PaintView(state, shell, canvas, {800, 600}, 20000);
    VarnelFinish();
    EXPECT_EQ(state.Skeleton.numFrames, 40);
    EXPECT_EQ(shell.Status(StatusPane::FrameCounter), "Frame 40 / 40");
}

TEST_F(SuitEngineTest, LiveOnASilentSuitSaysSoAfterItsWaitAndStaysOff)
{
    TestSuit suit;
    ASSERT_EQ(FindSuitsWhileSending({{&suit, MakePacket("Walker")}}), 1);
    LetReceiverRun(); // the last datagrams of the search are gone
    LiveCommand(state, shell);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "No data from the suit at " + Endpoint(suit) + " \"Walker\"");
    EXPECT_EQ(shell.messages[0].icon, MessageIcon::Warning);
    int waited = 0;
    for (int milliseconds : shell.waits)
        waited += milliseconds;
    EXPECT_EQ(waited, FirstDatagramWaitMilliseconds);
    EXPECT_EQ(state.Live, 0);
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Ready");
    EXPECT_TRUE(shell.beeps.empty());
}

TEST_F(SuitEngineTest, LiveCountsDownBeepsAndCalibratesOnceTheSuitSends)
{
    TestSuit suit;
    SuitDatagram packet = MakePacket("Walker");
    ASSERT_EQ(FindSuitsWhileSending({{&suit, packet}}), 1);
    OpenSuit(state);
    SkeletonFrame pose;
    ASSERT_TRUE(WaitUntil([&] { return suit.Send(packet), VarnelRead(state.SuitHandle, &pose); }));
    state.RecordDelayEnable = 1;
    const std::pair<int, std::vector<std::string>> delays[] = {
        {2, {"Calibrating in 2 seconds", "Calibrating in 1 second", "Live"}},
        {0, {"Live"}},
        {-5, {"Live"}},
        {100000, {"Calibrating in 999 seconds"}}, // as many as the dialog allows
    };
    for (const auto& [delay, texts] : delays) {
        FakeShell window;
        state.RecordDelay = delay;
        LiveCommand(state, window);
        EXPECT_EQ(state.Live, 1) << delay;
        const std::vector<std::string>& shown = window.statusTexts[StatusPane::Messages];
        EXPECT_EQ(std::vector(shown.begin(), shown.begin() + std::min(shown.size(), texts.size())),
                  texts)
            << delay;
        EXPECT_EQ(window.waits, std::vector<int>(size_t(std::clamp(delay, 0, 999)), 1000)) << delay;
        EXPECT_EQ(window.beeps, (std::vector<std::pair<int, int>>{{1047, 250}})) << delay;
        EXPECT_TRUE(window.menuChecks[Command::Live]);
        LiveCommand(state, window);
        EXPECT_EQ(state.Live, 0);
        EXPECT_EQ(window.Status(StatusPane::Messages), "Ready");
        EXPECT_EQ(window.beeps.size(), 1u);
    }
}

TEST_F(SuitEngineTest, RecordTakesTheSuitsRateAndItsLimitEndsTheTakeExactly)
{
    TestSuit suit;
    ASSERT_EQ(FindSuitsWhileSending({{&suit, MakePacket("Walker", 30.0f)}}), 1);
    state.RecordDelayEnable = state.RecordDelay = 1;
    MakeTake(state, {PoseAt({}, 1), PoseAt({}, 2)});
    state.TakeUnsaved = 1;
    state.Playing = 1;
    struct Case {
        int stop, framesOrSeconds, limit, stored;
    } cases[] = {{1, 0, 5, 150}, {1, 1, 1, 1}, {0, 0, 5, 200}};
    for (const Case& c : cases) {
        FakeShell window;
        state.MainFrame = &window;
        state.RecordStop = c.stop, state.RecordFramesOrSeconds = c.framesOrSeconds;
        state.RecordLimitFS = c.limit;
        // Each new recording asks about the unsaved take before it.
        window.saveTakeAnswers = {FakeShell::SaveTakeAnswer::Discard};
        RecordCommand(state, window);
        EXPECT_EQ(window.saveTakeQuestions, 1);
        EXPECT_EQ(state.Recording, 1);
        EXPECT_EQ(state.Playing, 0);
        EXPECT_EQ(state.Skeleton.numFrames, 0);
        EXPECT_EQ(state.Skeleton.frameTime, 1.0f / 30);
        EXPECT_EQ(state.TakeUnsaved, 0);
        EXPECT_EQ(window.statusTexts[StatusPane::Messages],
                  (std::vector<std::string>{"Recording in 1 second",
                                            "Recording at 30.00 frames per second"}));
        EXPECT_EQ(window.beeps, (std::vector<std::pair<int, int>>{{1568, 250}}));

        for (int marker = 1; marker <= 200; marker++) {
            SkeletonFrame pose = PoseAt({}, marker);
            ViewerFrameCallback(&pose, state.SuitHandle);
        }
        EXPECT_EQ(state.Skeleton.numFrames, c.stored) << c.limit;
        EXPECT_EQ(window.PostedCommands().size(), size_t(200 - c.stored)) << c.limit;
        EXPECT_EQ(state.TakeUnsaved, 1);

        // Play ends the recording and plays the new take.
        state.PlaybackFrame = 7;
        PlayCommand(state, window);
        EXPECT_EQ(state.Recording, 0);
        EXPECT_EQ(state.Playing, 1);
        EXPECT_EQ(window.beeps.back(), std::make_pair(1047, 250));
        EXPECT_EQ(window.Status(StatusPane::Messages), "Playing at 30.00 frames per second");
        EndPlayback(state);
    }
    state.MainFrame = &shell;
}
} // namespace
