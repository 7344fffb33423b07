#include "viewer/qt/main_window.h"

#include "viewer/commands.h"
#include "viewer/file_commands.h"
#include "viewer/qt/library_messages.h"
#include "viewer/settings.h"
#include "viewer/startup.h"
#include "viewer/take_guard.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>

namespace {
QLabel* MakeStatusPane()
{
    auto* pane = new QLabel;
    pane->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // Texts may hold paths: shown as they are.
    pane->setTextFormat(Qt::PlainText);
    return pane;
}

// The panes keep their fixed widths; the font shrinks, down to 6 points,
// until the widest display-rate text fits the narrowest of them.
QFont StatusFont(QFont font, int paneWidth)
{
    const QString widest = "Display: 999.9 FPS, Dropped: 99999";
    const int margins = 8;
    while (font.pointSizeF() > 6.0 &&
           QFontMetrics(font).horizontalAdvance(widest) > paneWidth - margins)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}
} // namespace

MainWindow::MainWindow(ViewerState& state) : state(state), shell(state, *this)
{
    setWindowTitle("Varnview");
    actions = BuildMenus(*menuBar(),
                         [this](Command command) { RunCommand(this->state, shell, command); });
    view = new ViewWidget(state, shell, this);
    setCentralWidget(view);
    BuildStatusBar();

    QRect screen = this->screen()->availableGeometry();
    resize(screen.size() * 4 / 5);
    move(screen.center() - rect().center());
}

void MainWindow::BuildStatusBar()
{
    const int paneWidths[3] = {240, 0, 180}; // 0: takes the rest
    const QFont font = StatusFont(statusBar()->font(), paneWidths[2]);
    for (int i = 0; i < 3; i++) {
        statusPanes[i] = MakeStatusPane();
        statusPanes[i]->setFont(font);
        if (paneWidths[i] > 0) {
            statusPanes[i]->setFixedWidth(paneWidths[i]);
        } else {
            // A long text is cut rather than widening the window.
            statusPanes[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            statusPanes[i]->setMinimumWidth(100);
        }
        statusBar()->addWidget(statusPanes[i], paneWidths[i] > 0 ? 0 : 1);
    }
}

void MainWindow::Start()
{
    InstallLibraryMessageHandler(this);
    // The view's real size, before it is shown: the start-up fits the
    // skeleton to it.
    layout()->activate();
    settingsPath = SettingsPath();
    StartUp(state, shell, settingsPath);
    running = true;
    show();
    view->setFocus();
}

// False when the user keeps the take, and while the question is open (a
// second close request then waits for its answer).
bool MainWindow::MayClose()
{
    if (!running || takeSettled)
        return true;
    if (askingAboutTake)
        return false;
    askingAboutTake = true;
    bool mayClose = MayReplaceTake(state, shell);
    askingAboutTake = false;
    return mayClose;
}

void MainWindow::CommitData(QSessionManager& manager)
{
    if (!running)
        return;
    if (state.TakeUnsaved) {
        if (manager.allowsInteraction()) {
            bool mayClose = MayClose();
            manager.release();
            if (!mayClose) {
                manager.cancel();
                return;
            }
        } else {
            // The session ends without the user: the take goes where the
            // last BVH file went, else into the home or temporary folder.
            const std::string folders[] = {state.CurrentFileDir,
                                           QFile::encodeName(QDir::homePath()).toStdString(),
                                           QFile::encodeName(QDir::tempPath()).toStdString()};
            for (const std::string& folder : folders)
                if (QFileInfo(QFile::decodeName(folder.c_str())).isDir() &&
                    SaveTakeForRecovery(state, shell, folder))
                    break;
        }
    }
    takeSettled = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A countdown or a wait for the suit is under way: the window closes
    // once the command that waits is done with the library.
    if (shell.Waiting()) {
        event->ignore();
        shell.PostClose();
        return;
    }
    if (!MayClose()) {
        event->ignore();
        return;
    }
    if (running) {
        running = false;
        ShutDown(state, shell, settingsPath);
        RestoreLibraryMessageHandler();
    }
    event->accept();
}
