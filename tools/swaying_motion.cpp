#include "motion_source.h"

#include <cmath>

namespace {
constexpr double TwoPi = 6.283185307179586;
constexpr double MidScale = 2048.0;
// About 12 degrees of joint travel (330 degrees span 4096 counts).
constexpr double ChannelAmplitude = 150.0;
constexpr double OrientationAmplitudeDegrees = 3.0;
constexpr double PositionAmplitudeMeters = 0.2;
constexpr double HipsHeightMeters = 1.0;

// Periods between 4 and 10 seconds, spread over the channels so that the
// joints do not move in step.
double PeriodSeconds(int index)
{
    return 4.0 + 6.0 * std::fmod(index * 0.618034, 1.0);
}

double Sway(double seconds, int index, double phase)
{
    return std::sin(TwoPi * seconds / PeriodSeconds(index) + phase + 0.7 * index);
}
} // namespace

void SwayingMotion::FillReadings(int suit, uint64_t frame, SuitReadings& readings)
{
    double seconds = double(frame) / frameRate;
    // Each suit of a group moves a little differently.
    double phase = 1.3 * suit;
    for (int channel = 0; channel < SuitChannelCount; channel++) {
        double counts = MidScale + ChannelAmplitude * Sway(seconds, channel, phase);
        readings.channels[channel] = uint16_t(std::lround(counts));
    }
    for (int axis = 0; axis < 3; axis++)
        readings.orientation[axis] =
            float(OrientationAmplitudeDegrees * Sway(seconds, SuitChannelCount + axis, phase));
    // A slow circle on the floor, for suits that report a position.
    double angle = TwoPi * seconds / 20.0 + phase;
    readings.position[0] = float(PositionAmplitudeMeters * std::cos(angle));
    readings.position[1] = float(PositionAmplitudeMeters * std::sin(angle));
    readings.position[2] = float(HipsHeightMeters);
}
