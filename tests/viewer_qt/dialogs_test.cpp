#include "tests/viewer_qt/qt_test_support.h"
#include "varnel.h"
#include "viewer/qt/about_box.h"
#include "viewer/qt/library_messages.h"
#include "viewer/qt/no_suits_dialog.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include <future>

namespace {
TEST(NoSuitsDialog, EnterAbortsWithTheBoxAndEscClosesWithoutIt)
{
    NoSuitsDialog dialog(nullptr);
    const std::pair<Qt::Key, NoSuitsAnswer> keys[] = {{Qt::Key_Return, NoSuitsAnswer::Abort},
                                                      {Qt::Key_Escape, NoSuitsAnswer::Closed}};
    for (auto [key, answer] : keys) {
        WhenModalOpens([key](QWidget* modal) {
            modal->findChild<QCheckBox*>()->setChecked(true);
            QTest::keyClick(modal, key);
        });
        int dontLook = -1;
        EXPECT_EQ(dialog.Ask(&dontLook), answer);
        EXPECT_EQ(dontLook, answer == NoSuitsAnswer::Closed ? -1 : 1);
    }
}

TEST(AboutBox, OpensCentredOnTheScreen)
{
    QRect box, screen;
    WhenModalOpens([&](QWidget* modal) {
        box = modal->frameGeometry();
        screen = modal->screen()->geometry();
        modal->close();
    });
    ShowAboutBox(nullptr, "Varnview Version 2.556\nVarnel.dll Version 2.556");
    EXPECT_EQ(box.x(), (screen.width() - box.width()) / 2);
    EXPECT_EQ(box.y(), (screen.height() - box.height()) / 2);
}

TEST(LibraryMessages, ABoxForAnotherThreadIsShownLaterByTheUserInterfaceThread)
{
    InstallLibraryMessageHandler(nullptr);
    // The library thread gets its answer without waiting for the user.
    auto answer = std::async(std::launch::async, [] { return VarnelMessageBox("Port busy"); });
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(answer.get(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QString caption, text;
    bool onInterfaceThread = false;
    WhenModalOpens([&](QWidget* modal) {
        caption = modal->windowTitle();
        text = qobject_cast<QMessageBox*>(modal)->text();
        onInterfaceThread = modal->thread() == QApplication::instance()->thread();
        modal->close();
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }));
    EXPECT_EQ(caption, "Varnel");
    EXPECT_EQ(text, "Port busy");
    EXPECT_TRUE(onInterfaceThread);

    // On the user-interface thread the box is shown before the call returns.
    text.clear();
    WhenModalOpens([&](QWidget* modal) {
        text = qobject_cast<QMessageBox*>(modal)->text();
        modal->close();
    });
    EXPECT_EQ(VarnelMessageBox("Can't write file"), 1);
    EXPECT_EQ(text, "Can't write file");
    RestoreLibraryMessageHandler();
}
} // namespace
