#include "viewer/dialog_fields.h"

#include "viewer/text_format.h"

#include <algorithm>
#include <cfloat>
#include <charconv>

namespace {
std::string_view Trimmed(std::string_view text)
{
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// from_chars refuses a leading '+', which a user may type.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

FieldReading Refused(std::string message)
{
    return {0, std::move(message)};
}
} // namespace

FieldReading ReadNumber(std::string_view text, double min, double max)
{
    std::string_view number = WithoutPlus(Trimmed(text));
    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
        !std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return Refused("Please enter a number.");
    if (value < min || value > max)
        return Refused(FormatText("Please enter a number between %.15g and %.15g.", min, max));
    return {value, {}};
}

FieldReading ReadInteger(std::string_view text, int min, int max)
{
    std::string_view number = WithoutPlus(Trimmed(text));
    long long value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    bool digits = !number.empty() && end == number.data() + number.size() &&
                  error != std::errc::invalid_argument;
    bool bounded = min != INT_MIN || max != INT_MAX;
    if (!digits || (!bounded && (error != std::errc() || value < min || value > max)))
        return Refused("Please enter an integer.");
    if (error != std::errc() || value < min || value > max)
        return Refused(FormatText("Please enter an integer between %d and %d.", min, max));
    return {double(value), {}};
}

std::string ShowNumber(float value)
{
    return FormatText("%g", double(value));
}

std::string ShowInteger(int value)
{
    return FormatText("%d", value);
}

void FieldReader::Number(std::string_view text, float& value, int control, double min, double max)
{
    if (failure)
        return;
    FieldReading reading = ReadNumber(text, min, max);
    if (reading.Valid())
        value = float(reading.value);
    else
        failure = DialogNotice{reading.message, MessageIcon::Exclamation, control};
}

void FieldReader::Integer(std::string_view text, int& value, int control, int min, int max)
{
    if (failure)
        return;
    FieldReading reading = ReadInteger(text, min, max);
    if (reading.Valid())
        value = int(reading.value);
    else
        failure = DialogNotice{reading.message, MessageIcon::Exclamation, control};
}

int RoundedCount(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::clamp(std::trunc(value + 0.5), double(INT_MIN), double(INT_MAX)));
}
