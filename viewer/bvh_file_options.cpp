#include "viewer/bvh_file_options.h"

BvhFileOptionsForm::BvhFileOptionsForm(const ViewerSettings& settings)
    : angle(ShowNumber(settings.AnkleHeelBallAngle)),
      ratio(ShowNumber(settings.BallToHeel_AnkleToHeel_Ratio)),
      angleValue(settings.AnkleHeelBallAngle), ratioValue(settings.BallToHeel_AnkleToHeel_Ratio)
{
}

std::optional<DialogNotice> BvhFileOptionsForm::Ok()
{
    FieldReader reader;
    reader.Number(ratio, ratioValue, int(BvhFileOptionsField::Ratio));
    reader.Number(angle, angleValue, int(BvhFileOptionsField::Angle), -360, 360);
    return reader.failure;
}

void BvhFileOptionsForm::Store(ViewerSettings& settings) const
{
    settings.AnkleHeelBallAngle = angleValue;
    settings.BallToHeel_AnkleToHeel_Ratio = ratioValue;
}

void RunBvhFileOptions(ViewerState& state, Shell& shell)
{
    BvhFileOptionsForm form(state);
    if (shell.RunBvhFileOptions(form))
        form.Store(state);
}
