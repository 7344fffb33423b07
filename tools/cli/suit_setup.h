// What the commands that capture a live suit share: naming the suit on the
// command line, the floor, and the waits before the calibration on the
// null pose.
#pragma once

#include "tools/cli/network_address.h"
#include "varnel.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <string_view>

// A suit named on the command line: by the index `varnel suits` prints, or
// by the address and source port it sends from.
struct SuitChoice {
    bool byIndex = false;
    int index = 0;
    Destination address{"", 0};
};

// Parses "DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS": five numbers, CLAMP 0 or 1,
// STEPS a whole number from 0 to 1000, MIN not above MAX where they are
// used. Returns an empty text on success, otherwise what is wrong.
std::string ParseFloor(const std::string& text, FloorGeometry* floor);

// Parses an index as `varnel suits` prints it, or "HOST:PORT". Returns an
// empty text on success, otherwise what is wrong.
std::string ParseSuitChoice(const std::string& text, SuitChoice* choice);

// Finds the chosen suit among the `count` suits of the library's table.
// Returns an empty text with *index and *info set, otherwise what is wrong.
std::string FindChosenSuit(const SuitChoice& choice, int count, int* index, SuitInfo* info);

// "3 suits found".
std::string SuitCount(int count);

// Seconds counted down on one line of errors, with the command's prefix;
// false if a stop came first.
bool CountDown(std::string_view command, double seconds, const std::atomic<bool>& stopRequested,
               std::FILE* errors);

// Waits up to `seconds` for the suit's first datagram, which the
// calibration needs; false if none came or a stop came first.
bool WaitForData(VarnelHandle suit, double seconds, const std::atomic<bool>& stopRequested);
