// The file commands and the take guard in the real window.
#include "tests/support/own_suit_port.h"
#include "tests/support/temp_folder.h"
#include "tests/viewer_qt/qt_test_support.h"
#include "viewer/qt/main_window.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

#include <stdlib.h>

namespace {
class FileCommandsWindowTest : public testing::Test {
  protected:
    void SetUp() override
    {
        ResetViewerForTesting();
        setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
        config.Write("varnel.ini", "[Varnel]\nLookForSuitOnStartup=0\n");
        window.Start();
    }
    void TearDown() override
    {
        state.TakeUnsaved = 0;
        window.close();
        VarnelFinish();
        ResetViewerForTesting();
    }
    // Closes the window, answering the question with the button (NoButton:
    // with Esc); the text asked, or "" when nothing was asked.
    QString CloseAnswering(QMessageBox::StandardButton answer)
    {
        QString asked;
        WhenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            asked = box->text();
            if (answer == QMessageBox::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(answer)->click();
        });
        window.close();
        return asked;
    }

    TempFolder config;
    ViewerState& state = Viewer();
    MainWindow window{state};
};

TEST_F(FileCommandsWindowTest, ClosingWithAnUnsavedTakeAsksAndCancelKeepsTheWindowOpen)
{
    state.TakeUnsaved = 1;
    for (QMessageBox::StandardButton keep : {QMessageBox::Cancel, QMessageBox::NoButton}) {
        EXPECT_EQ(CloseAnswering(keep), "Save the take before closing?");
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(state.TakeUnsaved, 1);
    }
    EXPECT_EQ(CloseAnswering(QMessageBox::Discard), "Save the take before closing?");
    EXPECT_FALSE(window.isVisible());
}

} // namespace
