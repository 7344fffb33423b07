// What the viewer's logic needs of its window and desktop. The toolkit
// implements it for the real window; tests implement a recording fake, so
// every command runs without a window. Unless a function says otherwise it
// is called on the user-interface thread.
#pragma once

#include "varnel.h"
#include "viewer/command.h"

#include <string>

class InputOptionsForm;
class BvhFileOptionsForm;
class FloorForm;

enum class StatusPane { Messages = 0, FrameCounter = 1, DisplayRate = 2 };

enum class MessageIcon { None, Warning, Exclamation };
enum class MessageButtons { Ok, RetryCancel };
enum class MessageAnswer { Ok, Retry, Cancel };

// How the No Varnel Suits Detected prompt closed.
enum class NoSuitsAnswer { Closed = 2, Abort = 3, Retry = 4, Ignore = 5 };

struct ViewSize {
    int width = 0;  // client area
    int height = 0; // client area above the status bar
};

class Shell {
  public:
    virtual ~Shell() = default;

    virtual void SetStatusText(StatusPane pane, std::string_view text) = 0;
    // A modal message box captioned with the program's name; text is plain
    // text, never markup (it may hold a suit's name or a path).
    virtual MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;
    virtual void SetMenuCheck(Command command, bool checked) = 0;
    // The view's current size.
    virtual ViewSize CurrentViewSize() = 0;
    // Redraws the whole window soon; from the user-interface thread.
    virtual void Repaint() = 0;
    // Asks the window to close, after the command running now.
    virtual void PostClose() = 0;
    // The start-up prompt, its check box clear; dontLook holds the check box
    // when it closes through a button (not with Esc or the close box).
    virtual NoSuitsAnswer AskNoSuitsDetected(int* dontLook) = 0;
    // The About box, centred on the screen, showing text.
    virtual void ShowAbout(const std::string& text) = 0;

    // Any thread: queued to the user-interface thread.
    virtual void RequestRepaint() = 0;                     // a repaint of the whole window
    virtual void PostCommand(Command command) = 0;         // run as if chosen from the menu
    virtual void PostTimeoutPrompt(VarnelHandle suit) = 0; // ShowTimeoutPrompt for the suit
    // A message box shown by the user-interface thread, for threads that must
    // not wait for the user (the receive thread holds the library lock).
    virtual void PostMessageBox(const std::string& text, MessageIcon icon) = 0;

    // Files: the open and save dialogs, and the question before a take goes.
    struct FileDialog {
        const char* filter;        // "BVH file (*.bvh)": a description, its pattern in brackets
        const char* defaultSuffix; // added to a name typed without one; "" for none
        std::string folder;        // where the dialog starts
        std::string proposedName;  // the name in the dialog when it opens
    };
    // The full path of an existing file; "" when cancelled.
    virtual std::string ChooseFileToOpen(const FileDialog& dialog) = 0;
    // The full path of a file in an existing folder; asks before an existing
    // file is replaced and refuses a read-only one; "" when cancelled.
    virtual std::string ChooseFileToSave(const FileDialog& dialog) = 0;
    enum class SaveTakeAnswer { Save, Discard, Cancel };
    // "Save the take before closing?" with Save, Discard and Cancel; Esc and
    // the close box answer Cancel.
    virtual SaveTakeAnswer AskSaveTake() = 0;

    // The engine's countdown, waits and beeps.
    // Returns after milliseconds; meanwhile the window keeps painting but
    // takes no input and runs no command, posted ones included.
    virtual void Wait(int milliseconds) = 0;
    // A tone of the frequency and length; returns at once, and is silent
    // (or the desktop's bell) where the machine has no sound output.
    virtual void Beep(int frequencyHz, int milliseconds) = 0;

    // The option dialogs: each shows its form modally and tells whether it
    // ended with OK (the form agreed to close) or with Cancel, Esc or the
    // close box.
    virtual bool RunInputOptions(InputOptionsForm& form) = 0;
    virtual bool RunBvhFileOptions(BvhFileOptionsForm& form) = 0;
    virtual bool RunFloorGeometry(FloorForm& form) = 0;
};
