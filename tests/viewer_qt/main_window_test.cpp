// The real window over the viewer's core, with a suit on the test's own port
// and the settings in a folder of the test's own.
#include "platform/ini_file.h"
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/viewer_qt/qt_test_support.h"
#include "viewer/qt/main_window.h"
#include "viewer/qt/no_suits_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <stdlib.h>

namespace {
// A suit that keeps sending while it lives, as a real one does.
class SendingSuit {
  public:
    SendingSuit()
        : sender([this] {
              while (sending) {
                  suit.Send(MakePacket("Walker"));
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          })
    {
    }
    ~SendingSuit()
    {
        sending = false;
        sender.join();
    }

  private:
    TestSuit suit;
    std::atomic<bool> sending{true};
    std::thread sender;
};

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override
    {
        ResetViewerForTesting();
        setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
    }
    void TearDown() override
    {
        window.close();
        VarnelFinish();
        ResetViewerForTesting();
    }
    // Starts without looking for suits, as most tests need no suit.
    void StartWithoutSearch()
    {
        config.Write("varnel.ini", "[Varnel]\nLookForSuitOnStartup=0\n");
        window.Start();
    }
    std::string Setting(const char* key)
    {
        char value[64] = "";
        IniText::Load(config.File("varnel.ini").c_str()).Find("Varnel", key, value, sizeof value);
        return value;
    }
    static std::vector<const MenuItem*> Items(bool (*wanted)(const MenuItem&))
    {
        std::vector<const MenuItem*> items;
        for (int i = 0; i < MenuBarSize; i++)
            if (wanted(MenuBar[i]))
                items.push_back(&MenuBar[i]);
        return items;
    }
    static bool IsRenderItem(const MenuItem& item)
    {
        return item.command == Command::RenderSolid || item.command == Command::RenderWireframe ||
               item.command == Command::RenderNothing ||
               item.command == Command::DisplayRawChannels;
    }

    TempFolder config;
    ViewerState& state = Viewer();
    MainWindow window{state};
};

TEST_F(MainWindowTest, StartsWithTheSuitOpenAndTheSkeletonFittedToTheViewItShows)
{
    {
        SendingSuit suit;
        window.Start();
    }
    EXPECT_NE(state.SuitHandle.load(), nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Varnview");
    // Fitted to the size the view has on the screen, not to a size it had
    // before it was laid out.
    EXPECT_EQ(state.camera.ViewWidth, window.View()->width());
    EXPECT_EQ(state.camera.ViewHeight, window.View()->height());
    EXPECT_GT(state.camera.ViewScale, DefaultViewScale);

    EXPECT_EQ(window.StatusPaneLabel(StatusPane::Messages)->text(), "Ready");
    EXPECT_EQ(window.StatusPaneLabel(StatusPane::Messages)->width(), 240);
    EXPECT_GE(window.StatusPaneLabel(StatusPane::FrameCounter)->width(), 100);
    EXPECT_EQ(window.StatusPaneLabel(StatusPane::DisplayRate)->width(), 180);
    // The three panes side by side, all inside the window.
    EXPECT_LE(window.StatusPaneLabel(StatusPane::DisplayRate)->geometry().right(), window.width());
}

TEST_F(MainWindowTest, AbortAtTheNoSuitsPromptShowsTheWindowThenClosesItAndShutsDown)
{
    bool prompted = false;
    WhenModalOpens([&](QWidget* modal) {
        prompted = qobject_cast<NoSuitsDialog*>(modal) != nullptr;
        modal->findChild<QCheckBox*>()->setChecked(true);
        for (QPushButton* button : modal->findChildren<QPushButton*>())
            if (button->text() == "Abort")
                button->click();
    });
    window.Start();
    EXPECT_TRUE(prompted);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }));
    EXPECT_EQ(Setting("LookForSuitOnStartup"), "0");
    VarnelMessageHandler installed = VarnelSetMessageHandler(nullptr);
    EXPECT_EQ(installed, VarnelSetMessageHandler(nullptr)); // the library's own both times
}

TEST_F(MainWindowTest, EveryOptionsToggleFlipsItsCheckMarkThroughItsAction)
{
    StartWithoutSearch();
    auto toggles = Items([](const MenuItem& item) {
        return std::strcmp(item.menu, "&Options") == 0 && item.checkable && !IsRenderItem(item);
    });
    ASSERT_EQ(toggles.size(), 13u);
    for (const MenuItem* item : toggles) {
        QAction* action = window.Action(item->command);
        bool before = action->isChecked();
        action->trigger();
        EXPECT_NE(action->isChecked(), before) << item->text;
        action->trigger();
        EXPECT_EQ(action->isChecked(), before) << item->text;
    }
}

TEST_F(MainWindowTest, TheRenderItemsActAsOneRadioGroup)
{
    StartWithoutSearch();
    auto renderItems = Items(IsRenderItem);
    for (const MenuItem* chosen : renderItems)
        for (int click = 0; click < 2; click++) { // a second click keeps it chosen
            window.Action(chosen->command)->trigger();
            for (const MenuItem* item : renderItems)
                EXPECT_EQ(window.Action(item->command)->isChecked(), item == chosen)
                    << chosen->text << " then " << item->text;
        }
}

TEST_F(MainWindowTest, PlainLettersSpaceAndEscReachTheCommandsWhileTheViewHasTheFocus)
{
    StartWithoutSearch();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(window.View()->hasFocus());

    const std::pair<Qt::Key, std::atomic<int> ViewerState::*> letters[] = {
        {Qt::Key_A, &ViewerState::ShowAxes},
        {Qt::Key_G, &ViewerState::ShowGrid},
        {Qt::Key_F, &ViewerState::FollowCharacter}};
    for (auto [key, setting] : letters) {
        int before = state.*setting;
        QTest::keyClick(window.View(), key);
        EXPECT_NE(state.*setting, before) << char(key);
    }
    for (auto [key, command] :
         {std::pair{Qt::Key_Space, Command::Pause}, std::pair{Qt::Key_Escape, Command::Stop}}) {
        int triggered = 0;
        QObject::connect(window.Action(command), &QAction::triggered, [&] { triggered++; });
        QTest::keyClick(window.View(), key);
        EXPECT_EQ(triggered, 1) << key;
    }
}

TEST_F(MainWindowTest, WorkPostedFromAnotherThreadRunsLaterOnTheUserInterfaceThread)
{
    StartWithoutSearch();
    int gridBefore = state.ShowGrid;
    std::thread poster([&] {
        window.ViewerShell().PostCommand(Command::ShowGrid);
        window.ViewerShell().PostMessageBox("Out of memory during record",
                                            MessageIcon::Exclamation);
    });
    poster.join();
    EXPECT_EQ(state.ShowGrid, gridBefore);

    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle(), text = box->text(), icon = box->icon();
        box->accept();
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }));
    EXPECT_NE(state.ShowGrid, gridBefore);
    EXPECT_EQ(caption, "Varnview");
    EXPECT_EQ(text, "Out of memory during record");
    EXPECT_EQ(icon, QMessageBox::Warning);
}
} // namespace
