// The engine's callbacks on the library's own threads, with suits on the
// loopback network.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/engine.h"
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
    ASSERT_TRUE(WaitUntil([&] { return !shell.PostedTimeoutPrompts().empty(); }));
    EXPECT_TRUE(shell.messages.empty()); // only the window's thread shows it

    ShowTimeoutPrompt(state, shell, shell.PostedTimeoutPrompts()[0]);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Live");
    EXPECT_EQ(state.SuitHandle, nullptr);
    EXPECT_EQ(VarnelHandleFromInfo(&suit.Info()), nullptr); // closed
    EXPECT_EQ(state.Live, 1);
    EXPECT_EQ(state.Recording + state.Playing + state.Paused + state.PlaybackFrame, 0);
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
} // namespace
