#include "tools/cli/null_pose_calibration.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/silence_watch.h"
#include "tools/cli/still_check.h"
#include "tools/cli/tool_messages.h"

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Which(const CalibratingSuit& suit)
{
    return "the suit \"" + suit.name + "\"";
}

class NullPoseCalibration {
  public:
    NullPoseCalibration(const std::vector<CalibratingSuit>& suits, const LiveSuitOptions& options,
                        const CalibrationWords& words, const std::atomic<bool>& stopRequested,
                        std::FILE* errors)
        : suits(suits), options(options), words(words), stopRequested(stopRequested), errors(errors)
    {
    }
    std::string Run();

  private:
    std::string WhenStill();
    void TellMoving(size_t suit);
    std::string Stopped() const
    {
        return "stopped before the " + std::string(words.activity) + " began";
    }
    std::string NothingDone() const { return "nothing was " + std::string(words.done); }

    const std::vector<CalibratingSuit>& suits;
    const LiveSuitOptions& options;
    const CalibrationWords& words;
    const std::atomic<bool>& stopRequested;
    std::FILE* errors;
};

std::string NullPoseCalibration::Run()
{
    if (!CountDown(words.command, options.countdownSeconds, stopRequested, errors))
        return Stopped();
    for (const CalibratingSuit& suit : suits)
        if (!WaitForData(suit.suit, options.silenceSeconds, stopRequested))
            return stopRequested.load()
                       ? Stopped()
                       : Which(suit) + " sent nothing for " + Number(options.silenceSeconds) + " s";
    if (!options.stillCheck) {
        for (const CalibratingSuit& suit : suits)
            VarnelSetNull(suit.suit);
        return "";
    }
    return WhenStill();
}

std::string NullPoseCalibration::WhenStill()
{
    const int64_t begin = MonotonicNanoseconds();
    std::vector<StillCheck> checks(suits.size());
    std::vector<SilenceWatch> silences;
    for (const CalibratingSuit& suit : suits)
        silences.emplace_back(suit.frames, begin);
    std::vector<bool> told(suits.size(), false), calibrated(suits.size(), false);
    size_t left = suits.size();
    while (left > 0) {
        int64_t now = MonotonicNanoseconds();
        for (size_t i = 0; i < suits.size(); i++) {
            if (calibrated[i])
                continue;
            if (!silences[i].Heard(now)) {
                if (silences[i].SilentSeconds(now) > options.silenceSeconds)
                    return Which(suits[i]) + " stopped sending before the calibration; " +
                           NothingDone();
                continue;
            }
            RawChannels channels;
            VarnelGetRaw(suits[i].suit, channels.data());
            StillCheck::Verdict verdict = checks[i].Feed(now, channels);
            if (verdict == StillCheck::Verdict::Moved && !told[i]) {
                TellMoving(i);
                told[i] = true;
            } else if (verdict == StillCheck::Verdict::Still) {
                VarnelSetNull(suits[i].suit);
                calibrated[i] = true;
                left--;
            }
        }
        if (left == 0)
            break;
        if (now - begin > int64_t(options.stillLimitSeconds * NanosecondsPerSecond)) {
            size_t culprit = 0;
            while (calibrated[culprit])
                culprit++;
            return Which(suits[culprit]) + " did not hold the null pose still for " +
                   Number(double(StillNanoseconds) / NanosecondsPerSecond) + " s within " +
                   Number(options.stillLimitSeconds) + " s; " + NothingDone();
        }
        SleepUntil(MonotonicNanoseconds() + PollNanoseconds);
        if (stopRequested.load())
            return Stopped();
    }
    return "";
}

void NullPoseCalibration::TellMoving(size_t suit)
{
    std::string which = suits.size() == 1 ? "the suit" : Which(suits[suit]);
    std::fputs(PrefixLines(words.command, which + " is moving; hold the null pose still").c_str(),
               errors);
    std::fflush(errors);
}
} // namespace

std::string CalibrateOnNullPose(const std::vector<CalibratingSuit>& suits,
                                const LiveSuitOptions& options, const CalibrationWords& words,
                                const std::atomic<bool>& stopRequested, std::FILE* errors)
{
    return NullPoseCalibration(suits, options, words, stopRequested, errors).Run();
}
