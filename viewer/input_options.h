// The Input Options dialog without its window: the suit list, the record
// options and what each click does to them. The window shows the form's
// controls and writes the user's edits back into them before each event.
#pragma once

#include "varnel.h"
#include "viewer/dialog_fields.h"
#include "viewer/viewer_state.h"

#include <string>
#include <vector>

// The controls that take the focus back after a message.
enum class InputOptionsField { FrameRate, Limit, Delay };

// A suit as its row in the list reads: "IP a.b.c.d:port", then the name in
// double quotes when it has one, its control characters shown as '?'.
std::string SuitRowText(const SuitInfo& suit);

// A record limit counted again in the other unit, rounded to the nearest
// count. A rate that is not a positive number (no suit, or a suit that
// reports none) counts as 30 frames per second.
int FramesFromSeconds(int seconds, float frameRate);
int SecondsFromFrames(int frames, float frameRate);

class InputOptionsForm {
  public:
    // The settings and the suit that was open (all zero bytes for none);
    // fills the suit list from the library's table.
    InputOptionsForm(const ViewerSettings& settings, const SuitInfo& openSuit);

    // The controls, top to bottom.
    std::vector<std::string> suitRows;
    int selectedRow = -1;  // -1: none
    std::string frameRate; // read-only
    bool positionSensorEnabled = true;
    bool usePositionSensor = false;
    bool recordStop = false;
    std::string limit;
    bool frames = false; // "Frames" ticked, else "Seconds"
    bool delayEnable = false;
    std::string delay;
    bool beep = false;
    bool autoload = false;

    // The user picked selectedRow.
    void ChooseRow();
    // "Frames" (true) or "Seconds" clicked: the limit is counted again in
    // that unit. A limit that is not an integer keeps the unit as it was.
    std::optional<DialogNotice> ClickUnit(bool toFrames);
    // Rescans the network (no suit may be open) and fills the list again.
    std::optional<DialogNotice> FindSuits();
    // Empty when the dialog may close with OK; else it stays open.
    std::optional<DialogNotice> Ok();

    // After OK: the seven settings and the record limit.
    void Store(ViewerSettings& settings) const;
    // The suit to open when the dialog ends: the chosen one after OK, else
    // the one that was open.
    const SuitInfo& Suit() const { return suit; }

  private:
    void FillSuitList();

    SuitInfo suit;
    int shownLimit = 0; // in the unit ticked
    float shownFrameRate = 30.0f;
    int delayValue = 0;
    std::vector<int> rowSuits; // the table index of each row
};

// The Input Options command: closes the suit for the dialog's time (so that
// Find Suits may rescan), runs the dialog and opens a suit again either way.
void RunInputOptions(ViewerState& state, Shell& shell);
