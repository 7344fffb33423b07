// The viewer's Shell over the main window. What other threads may call only
// queues work to the user-interface thread and never touches a widget.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <functional>
#include <vector>

class MainWindow;

class QtShell : public Shell {
  public:
    QtShell(ViewerState& state, MainWindow& window) : state(state), window(window) {}

    void SetStatusText(StatusPane pane, std::string_view text) override;
    MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override;
    void SetMenuCheck(Command command, bool checked) override;
    ViewSize CurrentViewSize() override;
    void Repaint() override;
    void PostClose() override;
    NoSuitsAnswer AskNoSuitsDetected(int* dontLook) override;
    void ShowAbout(const std::string& text) override;

    void RequestRepaint() override;
    void PostCommand(Command command) override;
    void PostTimeoutPrompt(VarnelHandle suit) override;
    void PostMessageBox(const std::string& text, MessageIcon icon) override;

    // The option dialogs.
    bool RunInputOptions(InputOptionsForm& form) override;
    bool RunBvhFileOptions(BvhFileOptionsForm& form) override;
    bool RunFloorGeometry(FloorForm& form) override;

  private:
    ViewerState& state;
    MainWindow& window;

    // Files: the open and save dialogs, and the question before a take goes.
  public:
    std::string ChooseFileToOpen(const FileDialog& dialog) override;
    std::string ChooseFileToSave(const FileDialog& dialog) override;
    SaveTakeAnswer AskSaveTake() override;

    // The engine's waits and beeps. Posted commands, prompts, boxes and the
    // close that arrive during a wait run after it, so no command re-enters
    // the one that waits.
  public:
    void Wait(int milliseconds) override;
    void Beep(int frequencyHz, int milliseconds) override;
    bool Waiting() const { return waitDepth > 0; }

  private:
    void RunWhenNotWaiting(std::function<void()> work);
    int waitDepth = 0;
    std::vector<std::function<void()>> deferred;
};
