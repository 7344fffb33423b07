// The suit's potentiometer block as the solver reads it: the jitter filter
// and the channel angles relative to the calibration.
#pragma once

#include "kinematics/joint_solve.h"

#include <cstdint>

// Suppresses one-count flicker: a channel that moved by exactly one count
// from its last accepted value is written back to that value in raw; any
// other reading becomes the accepted value. Both are raw blocks.
void FilterJitter(uint8_t* raw, uint8_t* previousRaw);

// The orientation and position sensors send floats, which a faulty sensor or
// anyone on the network may fill with NaN, infinity or absurd magnitudes.
// Each such reading in raw is replaced by its last usable value from
// previousRaw (which starts at zero); every usable one becomes that value.
void HoldUnusableSensorReadings(uint8_t* raw, uint8_t* previousRaw);

// channelAngle[i] = (source - calibration reading) * ChannelGain[i], from
// two raw blocks.
void ComputeChannelAngles(const uint8_t* source, const uint8_t* nullRaw,
                          float channelAngle[RawChannelCount]);
