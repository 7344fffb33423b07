// The engine in the real window: the countdown and the waits keep the window
// painting, hold back posted commands and the close, and beeps return at
// once without a sound device.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/viewer_qt/qt_test_support.h"
#include "viewer/qt/main_window.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <stdlib.h>

namespace {
class EngineWindowTest : public testing::Test {
  protected:
    void SetUp() override
    {
        ResetViewerForTesting();
        setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        config.Write("varnel.ini", "[Varnel]\nLookForSuitOnStartup=0\n");
    }
    void TearDown() override
    {
        window.close();
        VarnelFinish();
        ResetViewerForTesting();
    }
    QString Pane0() { return window.StatusPaneLabel(StatusPane::Messages)->text(); }

    TempFolder config;
    ViewerState& state = Viewer();
    MainWindow window{state};
    Shell& shell = window.ViewerShell();
};

TEST_F(EngineWindowTest, AWaitPaintsButRunsPostedCommandsAndTheCloseAfterIt)
{
    window.Start();
    const int axes = state.ShowAxes;
    state.RepaintPending = 1;
    shell.RequestRepaint();
    shell.PostCommand(Command::ShowAxes);
    QTimer::singleShot(0, &window, [&] { window.close(); });
    shell.Wait(100);
    EXPECT_EQ(state.RepaintPending, 0); // painted meanwhile
    EXPECT_EQ(state.ShowAxes, axes);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.ShowAxes != axes && !window.isVisible(); }));
}

TEST_F(EngineWindowTest, LiveShowsItsCountdownInPaneZeroAndBeepsWithoutASoundDevice)
{
    TestSuit suit;
    std::atomic<bool> sending{true};
    std::thread sender([&] {
        while (sending) {
            suit.Send(MakePacket("Walker"));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    config.Write("varnel.ini", "[Varnel]\nRecordDelayEnable=1\nRecordDelay=1\nRecordBeep=1\n");
    window.Start();
    QString duringCountdown;
    QTimer::singleShot(300, &window, [&] { duringCountdown = Pane0(); });
    window.Action(Command::Live)->trigger();
    sending = false;
    sender.join();
    EXPECT_EQ(duringCountdown, "Calibrating in 1 second");
    EXPECT_EQ(state.Live, 1);
    EXPECT_EQ(Pane0(), "Live");
    EXPECT_TRUE(window.Action(Command::Live)->isChecked());
}

TEST_F(EngineWindowTest, ClosingWhilePlayingStopsThePlaybackTimer)
{
    window.Start();
    state.Skeleton.frameTime = 0.001f;
    window.Action(Command::Play)->trigger();
    EXPECT_TRUE(state.playbackTimer.Running());
    QTest::qWait(20); // the ticks ask for repaints meanwhile
    window.close();
    EXPECT_FALSE(state.playbackTimer.Running());
    EXPECT_EQ(state.Playing, 0);
}
} // namespace
