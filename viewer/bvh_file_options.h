// The BVH File Options dialog without its window: the two foot values used
// when a BVH file is read.
#pragma once

#include "viewer/dialog_fields.h"
#include "viewer/viewer_state.h"

enum class BvhFileOptionsField { Angle, Ratio };

class BvhFileOptionsForm {
  public:
    explicit BvhFileOptionsForm(const ViewerSettings& settings);

    std::string angle; // degrees, -360 to 360
    std::string ratio; // any number

    // Empty when the dialog may close with OK; else it stays open.
    std::optional<DialogNotice> Ok();
    // After OK.
    void Store(ViewerSettings& settings) const;

  private:
    float angleValue, ratioValue;
};

// The BVH File Options command: OK stores both values, Cancel drops them.
void RunBvhFileOptions(ViewerState& state, Shell& shell);
