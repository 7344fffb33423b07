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

std::string CheckCountdown(const std::string& text)
{
    double seconds = 0.0;
    if (!CLI::detail::lexical_cast(text, seconds) || !std::isfinite(seconds) || seconds < 0.0 ||
        seconds > 600.0)
        return "the countdown must be a number of seconds from 0 to 600, not \"" + text + "\"";
    return "";
}

void AddTakeUnitsOption(CLI::App& command, LengthUnit& units)
{
    command
        .add_option_function<std::string>(
            "--units", [&units](const std::string& name) { units = *FindLengthUnit(name); },
            "Length unit of the take written: in (inches, the library's unit), cm or m "
            "(default: in)")
        ->type_name("UNIT")
        ->check(CheckLengthUnit);
}
