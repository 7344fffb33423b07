#include "tools/cli/option_checks.h"

#include "tools/cli/bvh_units.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

std::string CheckSeconds(const std::string& text)
{
    double seconds = 0.0;
    if (!CLI::detail::lexical_cast(text, seconds) || !std::isfinite(seconds) || seconds <= 0.0)
        return "the duration must be a number of seconds above 0, not \"" + text + "\"";
    return "";
}

// Digits only: strtoull would take "-3" as a huge count.
std::string CheckFrameCount(const std::string& text)
{
    errno = 0;
    bool digitsOnly = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (!digitsOnly || std::strtoull(text.c_str(), nullptr, 10) == 0 || errno == ERANGE)
        return "the frame count must be a whole number from 1 to 2^64-1, not \"" + text + "\"";
    return "";
}

std::string CheckLengthUnit(const std::string& text)
{
    return FindLengthUnit(text) ? "" : "unknown unit " + text + ": use in, cm or m";
}

namespace {
constexpr int MaximumFloorSteps = 1000;

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
