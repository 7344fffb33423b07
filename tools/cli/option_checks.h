// Value checks that several subcommands share, for CLI::Option::check: each
// returns an empty text for a good value, otherwise what is wrong.
#pragma once

#include "varnel.h"

#include <string>

// A number of seconds above 0 (--seconds).
std::string CheckSeconds(const std::string& text);

// A whole number of frames from 1 to 2^64-1 (--frames).
std::string CheckFrameCount(const std::string& text);

// A length unit: in, cm or m (--units, --from).
std::string CheckLengthUnit(const std::string& text);

// Parses "DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS": five numbers, CLAMP 0 or 1,
// STEPS a whole number from 0 to 1000, MIN not above MAX where they are
// used. Returns an empty text on success, otherwise what is wrong.
std::string ParseFloor(const std::string& text, FloorGeometry* floor);
