#include "viewer/input_options.h"

#include "viewer/engine.h"
#include "viewer/text_format.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>

namespace {
constexpr float RateWithoutSuit = 30.0f;
constexpr int PositionSensorFlag = 2;

float UsableRate(float frameRate)
{
    return frameRate > 0 && std::isfinite(frameRate) ? frameRate : RateWithoutSuit;
}

bool SameSuit(const SuitInfo& a, const SuitInfo& b)
{
    return a.address == b.address && a.port == b.port;
}

bool HasPositionSensor(const SuitInfo& suit)
{
    return (suit.flags & PositionSensorFlag) != 0;
}
} // namespace

std::string SuitRowText(const SuitInfo& suit)
{
    return "IP " + SuitEndpointText(suit);
}

int FramesFromSeconds(int seconds, float frameRate)
{
    return RoundedCount(double(seconds) * UsableRate(frameRate));
}

int SecondsFromFrames(int frames, float frameRate)
{
    return RoundedCount(double(frames) / UsableRate(frameRate));
}

InputOptionsForm::InputOptionsForm(const ViewerSettings& settings, const SuitInfo& openSuit)
    : suit(openSuit)
{
    frames = settings.RecordFramesOrSeconds == 1;
    // The limit stays in the unit it was kept in; only a click on the other
    // unit counts it again, at the rate shown. Counted into frames at the open
    // suit's rate and back at the list's, 5 s could show as 3 s when the two
    // differ (no suit open, or one no longer listed).
    shownLimit = settings.RecordLimitFS;
    recordStop = settings.RecordStop != 0;
    delayEnable = settings.RecordDelayEnable != 0;
    delayValue = settings.RecordDelay;
    beep = settings.RecordBeep != 0;
    usePositionSensor = settings.UsePositionSensor != 0;
    autoload = settings.Autoload != 0;

    FillSuitList();
    limit = ShowInteger(shownLimit);
    delay = ShowInteger(delayValue);
}

void InputOptionsForm::FillSuitList()
{
    suitRows.clear();
    rowSuits.clear();
    selectedRow = -1;
    shownFrameRate = RateWithoutSuit;
    positionSensorEnabled = true;
    for (int i = 0, count = VarnelNumSuits(); i < count; i++) {
        SuitInfo info;
        if (!VarnelEnumerateSuitInfo(i, &info))
            continue;
        bool open = SameSuit(info, suit);
        if (open)
            selectedRow = int(suitRows.size());
        if (open || i == 0) {
            shownFrameRate = info.frameRate;
            positionSensorEnabled = HasPositionSensor(info);
        }
        suitRows.push_back(SuitRowText(info));
        rowSuits.push_back(i);
    }
    frameRate = ShowNumber(shownFrameRate);
}

void InputOptionsForm::ChooseRow()
{
    int row = std::max(selectedRow, 0);
    SuitInfo info;
    bool listed = row < int(rowSuits.size()) && VarnelEnumerateSuitInfo(rowSuits[row], &info);
    shownFrameRate = listed ? info.frameRate : RateWithoutSuit;
    positionSensorEnabled = !listed || HasPositionSensor(info);
    frameRate = ShowNumber(shownFrameRate);
}

std::optional<DialogNotice> InputOptionsForm::ClickUnit(bool toFrames)
{
    if (toFrames == frames)
        return std::nullopt;
    FieldReader reader;
    int shown = 0;
    reader.Integer(limit, shown, int(InputOptionsField::Limit));
    if (reader.failure)
        return reader.failure;
    frames = toFrames;
    limit = ShowInteger(toFrames ? FramesFromSeconds(shown, shownFrameRate)
                                 : SecondsFromFrames(shown, shownFrameRate));
    return std::nullopt;
}

std::optional<DialogNotice> InputOptionsForm::FindSuits()
{
    int found = VarnelFindSuits();
    FillSuitList();
    if (found <= 0)
        return DialogNotice{"No Varnel suits detected", MessageIcon::Exclamation};
    return std::nullopt;
}

std::optional<DialogNotice> InputOptionsForm::Ok()
{
    FieldReader reader;
    float rate = 0;
    reader.Number(frameRate, rate, int(InputOptionsField::FrameRate), 1, 1000);
    reader.Integer(limit, shownLimit, int(InputOptionsField::Limit));
    reader.Integer(delay, delayValue, int(InputOptionsField::Delay), 0, 999);
    if (reader.failure)
        return reader.failure;

    if (VarnelNumSuits() != 0) {
        SuitInfo chosen;
        if (selectedRow < 0 || selectedRow >= int(rowSuits.size()) ||
            !VarnelEnumerateSuitInfo(rowSuits[selectedRow], &chosen))
            return DialogNotice{"Invalid suit selected", MessageIcon::None};
        suit = chosen;
    }
    return std::nullopt;
}

void InputOptionsForm::Store(ViewerSettings& settings) const
{
    settings.RecordStop = recordStop;
    settings.RecordDelayEnable = delayEnable;
    settings.RecordDelay = delayValue;
    settings.RecordBeep = beep;
    settings.RecordFramesOrSeconds = frames ? 1 : 0;
    settings.UsePositionSensor = usePositionSensor;
    settings.Autoload = autoload;
    settings.RecordLimitFS = shownLimit;
}

void RunInputOptions(ViewerState& state, Shell& shell)
{
    SuitInfo suit;
    VarnelGetSuitInfo(state.SuitHandle, &suit);
    // Closed while the dialog is open: a rescan is refused while a suit is
    // open, and afterwards the old handle designates nothing.
    VarnelClose(state.SuitHandle);
    state.SuitHandle = nullptr;

    InputOptionsForm form(state, suit);
    if (shell.RunInputOptions(form))
        form.Store(state);

    state.SuitHandle = VarnelOpen(&form.Suit(), ViewerFrameCallback, ViewerTimeoutCallback);
    VarnelEnablePositionSensor(state.SuitHandle, state.UsePositionSensor);
    VarnelSetFloor(state.Floor);
}
