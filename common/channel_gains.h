// The suit's potentiometers: how many radians one count of each channel
// turns its joint. This is the hardware, shared by the solver and the
// simulator.
#pragma once

#include "common/suit_datagram.h"

// 330 degrees over the 4096 counts of a potentiometer.
constexpr float RadiansPerCount = 0.001406149f;

// Radians per count of each raw channel, its sign following how the
// potentiometer is mounted; 0 for the channels the model ignores.
extern const float ChannelGain[SuitChannelCount];
