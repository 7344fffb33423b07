// The viewer's Shell over the main window. What other threads may call only
// queues work to the user-interface thread and never touches a widget.
#pragma once

#include "viewer/shell.h"
#include "viewer/viewer_state.h"

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
};
