// The Adjust Floor Geometry dialog without its window. Every applied edit
// moves the library's floor and the view's at once; Cancel puts back the
// floor the dialog started with.
#pragma once

#include "viewer/dialog_fields.h"
#include "viewer/viewer_state.h"

// The controls in their exchange order.
enum class FloorField { Clamp, Max, Min, Z0, NumSteps, Dzdx, Dzdy };

class FloorForm {
  public:
    FloorForm(ViewerState& state, Shell& shell);

    std::string dzdx, dzdy, z0, numSteps, min, max;
    bool clamp = false;

    // The check box was clicked or an edit lost the focus. Only a floor
    // whose every field reads is applied; a refused field changes nothing.
    std::optional<DialogNotice> Apply();
    // "&Default Floor": every field 0, applied.
    std::optional<DialogNotice> DefaultFloor();
    // Empty when the dialog may close with OK (the floor applied).
    std::optional<DialogNotice> Ok();
    // Cancel, Esc or the close box: the floor as it was before the dialog.
    void Restore();

  private:
    void Show(const FloorGeometry& floor);

    ViewerState& state;
    Shell& shell;
    FloorGeometry saved;
};

// The Adjust Floor Geometry command.
void RunFloorGeometry(ViewerState& state, Shell& shell);
