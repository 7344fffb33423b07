#include "tools/cli/suit_setup.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/cli/tool_messages.h"

#include <CLI/CLI.hpp>

#include <arpa/inet.h>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {
constexpr int MaximumFloorSteps = 1000;
// Far more suits than one network carries; keeps the number an int.
constexpr int MaximumSuitIndex = 99999;

std::vector<std::string> SplitAtCommas(const std::string& text)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream stream(text);
    while (std::getline(stream, field, ','))
        fields.push_back(field);
    if (!text.empty() && text.back() == ',')
        fields.push_back("");
    return fields;
}

bool ParseNumber(const std::string& text, float* value)
{
    double parsed = 0.0;
    if (!CLI::detail::lexical_cast(text, parsed) || !std::isfinite(parsed) ||
        std::fabs(parsed) > 1e30)
        return false;
    *value = float(parsed);
    return true;
}

bool ParseWhole(const std::string& text, int low, int high, int32_t* value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 6)
        return false;
    long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (parsed < low || parsed > high)
        return false;
    *value = int32_t(parsed);
    return true;
}

} // namespace

std::string ParseFloor(const std::string& text, FloorGeometry* floor)
{
    const std::string usage = "the floor must be DZDX,DZDY,Z0,MIN,MAX,CLAMP,STEPS";
    std::vector<std::string> fields = SplitAtCommas(text);
    if (fields.size() != 7)
        return usage + ", seven values, not \"" + text + "\"";
    FloorGeometry parsed{};
    float* numbers[5] = {&parsed.dzdx, &parsed.dzdy, &parsed.z0, &parsed.min, &parsed.max};
    const char* names[5] = {"DZDX", "DZDY", "Z0", "MIN", "MAX"};
    for (int i = 0; i < 5; i++)
        if (!ParseNumber(fields[i], numbers[i]))
            return std::string(names[i]) + " of the floor must be a number, not \"" + fields[i] +
                   "\"";
    if (!ParseWhole(fields[5], 0, 1, &parsed.clamp))
        return "CLAMP of the floor must be 0 or 1, not \"" + fields[5] + "\"";
    if (!ParseWhole(fields[6], 0, MaximumFloorSteps, &parsed.NumSteps))
        return "STEPS of the floor must be a whole number from 0 to 1000, not \"" + fields[6] +
               "\"";
    bool limitsUsed = parsed.clamp != 0 || parsed.NumSteps != 0;
    if (limitsUsed && parsed.min > parsed.max)
        return "MIN of the floor must not be above MAX, as it clamps or has steps";
    *floor = parsed;
    return "";
}

std::string ParseSuitChoice(const std::string& text, SuitChoice* choice)
{
    SuitChoice parsed;
    if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        if (text.size() > 5)
            return "a suit index is at most " + std::to_string(MaximumSuitIndex) + ", not " + text;
        parsed.byIndex = true;
        parsed.index = std::atoi(text.c_str());
    } else {
        std::string error = ParseDestination(text, &parsed.address);
        if (!error.empty())
            return error;
    }
    *choice = parsed;
    return "";
}

std::string SuitCount(int count)
{
    return std::to_string(count) + " suit" + (count == 1 ? "" : "s") + " found";
}

std::string FindChosenSuit(const SuitChoice& choice, int count, int* index, SuitInfo* info)
{
    if (choice.byIndex) {
        if (choice.index >= count || !VarnelEnumerateSuitInfo(choice.index, info))
            return "no suit has the index " + std::to_string(choice.index) + " (" +
                   SuitCount(count) + ", from index 0)";
        *index = choice.index;
        return "";
    }
    uint32_t address = 0;
    std::string error = ResolveIpv4(choice.address.host, &address);
    if (!error.empty())
        return error;
    for (int i = 0; i < count; i++)
        if (VarnelEnumerateSuitInfo(i, info) && info->address == address &&
            info->port == htons(choice.address.port)) {
            *index = i;
            return "";
        }
    return "no suit sends from " + choice.address.host + ":" + std::to_string(choice.address.port) +
           " (" + SuitCount(count) + ")";
}

namespace {
constexpr int64_t PollNanoseconds = 20'000'000;

// Sleeps a little; false once a stop was asked for.
bool Pause(const std::atomic<bool>& stopRequested)
{
    SleepUntil(MonotonicNanoseconds() + PollNanoseconds);
    return !stopRequested.load();
}
} // namespace

bool CountDown(std::string_view command, double seconds, const std::atomic<bool>& stopRequested,
               std::FILE* errors)
{
    if (seconds <= 0.0)
        return true;
    int64_t end = MonotonicNanoseconds() + int64_t(seconds * NanosecondsPerSecond);
    std::fprintf(errors, "%sTake the null pose:", MessagePrefix(command).c_str());
    int shown = -1;
    for (;;) {
        int64_t left = end - MonotonicNanoseconds();
        if (left <= 0)
            break;
        int whole = int(std::ceil(double(left) / NanosecondsPerSecond));
        if (whole != shown) {
            std::fprintf(errors, " %d", whole);
            std::fflush(errors);
            shown = whole;
        }
        if (!Pause(stopRequested)) {
            std::fprintf(errors, "\n");
            return false;
        }
    }
    std::fprintf(errors, "\n");
    return true;
}

bool WaitForData(VarnelHandle suit, double seconds, const std::atomic<bool>& stopRequested)
{
    int64_t start = MonotonicNanoseconds();
    SkeletonFrame pose;
    while (!VarnelRead(suit, &pose)) {
        if (double(MonotonicNanoseconds() - start) / NanosecondsPerSecond > seconds ||
            !Pause(stopRequested))
            return false;
    }
    return true;
}
