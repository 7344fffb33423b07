// Varnview's main window: the menu bar from the command table, the 3-D view
// and a status bar of three panes; it starts the viewer before it is shown
// and shuts it down when asked to close.
#pragma once

#include "viewer/qt/menus.h"
#include "viewer/qt/qt_shell.h"
#include "viewer/qt/view_widget.h"
#include "viewer/viewer_state.h"

#include <QMainWindow>

#include <string>

class QLabel;
class QSessionManager;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(ViewerState& state);

    // Runs the viewer's start-up (its prompts appear before the window),
    // then shows the window.
    void Start();

    ViewWidget* View() const { return view; }
    QLabel* StatusPaneLabel(StatusPane pane) const { return statusPanes[int(pane)]; }
    QAction* Action(Command command) const { return actions.at(command); }
    Shell& ViewerShell() { return shell; }

    // At the desktop's logout: asks about an unsaved take when the session
    // lets it, else saves the take for recovery; then closes, or cancels
    // the logout when the user keeps the take.
    void CommitData(QSessionManager& manager);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildStatusBar();
    bool MayClose();

    ViewerState& state;
    QtShell shell;
    ViewWidget* view;
    QLabel* statusPanes[3] = {};
    CommandActions actions;
    std::string settingsPath;
    bool running = false; // between the start-up and the shut-down
    bool askingAboutTake = false;
    bool takeSettled = false; // at logout, before the window closes
};
