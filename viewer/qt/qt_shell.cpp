#include "viewer/qt/qt_shell.h"

#include "viewer/commands.h"
#include "viewer/engine.h"
#include "viewer/qt/about_box.h"
#include "viewer/qt/bvh_options_dialog.h"
#include "viewer/qt/file_dialogs.h"
#include "viewer/qt/floor_dialog.h"
#include "viewer/qt/input_options_dialog.h"
#include "viewer/qt/main_window.h"
#include "viewer/qt/message_box.h"
#include "viewer/qt/no_suits_dialog.h"
#include "viewer/qt/tone.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include <utility>

namespace {
const QString Caption = "Varnview";

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

// Runs work on the user-interface thread once the running event is done;
// dropped if the window is gone by then.
template <typename Work> void Queue(MainWindow& window, Work work)
{
    QMetaObject::invokeMethod(&window, std::move(work), Qt::QueuedConnection);
}
} // namespace

void QtShell::SetStatusText(StatusPane pane, std::string_view text)
{
    window.StatusPaneLabel(pane)->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

MessageAnswer QtShell::ShowMessage(const std::string& text, MessageIcon icon,
                                   MessageButtons buttons)
{
    return ShowMessageBox(&window, Caption, ToQString(text), icon, buttons);
}

void QtShell::SetMenuCheck(Command command, bool checked)
{
    window.Action(command)->setChecked(checked);
}

ViewSize QtShell::CurrentViewSize()
{
    return {window.View()->width(), window.View()->height()};
}

void QtShell::Repaint()
{
    window.View()->update();
}

void QtShell::PostClose()
{
    Queue(window, [this] { RunWhenNotWaiting([this] { window.close(); }); });
}

NoSuitsAnswer QtShell::AskNoSuitsDetected(int* dontLook)
{
    return NoSuitsDialog(&window).Ask(dontLook);
}

void QtShell::ShowAbout(const std::string& text)
{
    ShowAboutBox(&window, ToQString(text));
}

void QtShell::RequestRepaint()
{
    Queue(window, [this] { Repaint(); });
}

void QtShell::PostCommand(Command command)
{
    Queue(window, [this, command] {
        RunWhenNotWaiting([this, command] { RunCommand(state, *this, command); });
    });
}

void QtShell::PostTimeoutPrompt(VarnelHandle suit)
{
    Queue(window, [this, suit] {
        RunWhenNotWaiting([this, suit] { ShowTimeoutPrompt(state, *this, suit); });
    });
}

void QtShell::PostMessageBox(const std::string& text, MessageIcon icon)
{
    Queue(window, [this, text, icon] {
        RunWhenNotWaiting([this, text, icon] { ShowMessage(text, icon, MessageButtons::Ok); });
    });
}

void QtShell::Wait(int milliseconds)
{
    waitDepth++;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (--waitDepth == 0)
        for (std::function<void()>& work : std::exchange(deferred, {}))
            Queue(window, std::move(work));
}

void QtShell::Beep(int frequencyHz, int milliseconds)
{
    PlayTone(&window, frequencyHz, milliseconds);
}

void QtShell::RunWhenNotWaiting(std::function<void()> work)
{
    if (Waiting())
        deferred.push_back(std::move(work));
    else
        work();
}

// Files: the open and save dialogs, and the question before a take goes.
std::string QtShell::ChooseFileToOpen(const FileDialog& dialog)
{
    return ChooseFile(&window, dialog, FileDialogMode::Open);
}

std::string QtShell::ChooseFileToSave(const FileDialog& dialog)
{
    return ChooseFile(&window, dialog, FileDialogMode::Save);
}

Shell::SaveTakeAnswer QtShell::AskSaveTake()
{
    return ::AskSaveTake(&window);
}

bool QtShell::RunInputOptions(InputOptionsForm& form)
{
    return RunInputOptionsDialog(&window, form);
}

bool QtShell::RunBvhFileOptions(BvhFileOptionsForm& form)
{
    return RunBvhOptionsDialog(&window, form);
}

bool QtShell::RunFloorGeometry(FloorForm& form)
{
    return RunFloorDialog(&window, form);
}
