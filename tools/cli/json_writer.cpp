#include "tools/cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {
// The length of the valid UTF-8 sequence at text[at], or 0 for none.
size_t Utf8SequenceLength(std::string_view text, size_t at)
{
    const auto byte = [&](size_t i) { return uint8_t(text[at + i]); };
    const auto continues = [&](size_t i) {
        return at + i < text.size() && (byte(i) & 0xc0) == 0x80;
    };
    uint8_t lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        return continues(1) ? 2 : 0;
    if (lead >= 0xe0 && lead <= 0xef) {
        if (!continues(1) || !continues(2))
            return 0;
        // No overlong forms and no surrogates.
        if ((lead == 0xe0 && byte(1) < 0xa0) || (lead == 0xed && byte(1) >= 0xa0))
            return 0;
        return 3;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        if (!continues(1) || !continues(2) || !continues(3))
            return 0;
        if ((lead == 0xf0 && byte(1) < 0x90) || (lead == 0xf4 && byte(1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

template <typename Value> std::string ShortestNumber(Value value)
{
    if (!std::isfinite(value))
        return "null";
    char digits[64];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}
} // namespace

std::string JsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (size_t at = 0; at < text.size();) {
        char c = text[at];
        size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            quoted += "\\ufffd";
            at++;
            continue;
        }
        if (length > 1) {
            quoted.append(text, at, length);
        } else if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (uint8_t(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(uint8_t(c)));
            quoted += escape;
        } else {
            quoted += c;
        }
        at += length;
    }
    return quoted + "\"";
}

void JsonWriter::BeforeValue()
{
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!firstInLevel.empty()) {
        if (!firstInLevel.back())
            text += ',';
        firstInLevel.back() = false;
    }
}

JsonWriter& JsonWriter::Open(char bracket)
{
    BeforeValue();
    text += bracket;
    firstInLevel.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket)
{
    firstInLevel.pop_back();
    text += bracket;
    return *this;
}

JsonWriter& JsonWriter::BeginObject()
{
    return Open('{');
}

JsonWriter& JsonWriter::EndObject()
{
    return Close('}');
}

JsonWriter& JsonWriter::BeginArray()
{
    return Open('[');
}

JsonWriter& JsonWriter::EndArray()
{
    return Close(']');
}

JsonWriter& JsonWriter::Key(std::string_view name)
{
    BeforeValue();
    text += JsonString(name);
    text += ':';
    afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view value)
{
    BeforeValue();
    text += JsonString(value);
    return *this;
}

JsonWriter& JsonWriter::Number(float value)
{
    BeforeValue();
    // Adding zero turns -0 into 0.
    text += ShortestNumber(value + 0.0f);
    return *this;
}

JsonWriter& JsonWriter::Number(double value)
{
    BeforeValue();
    text += ShortestNumber(value + 0.0);
    return *this;
}

JsonWriter& JsonWriter::Integer(int64_t value)
{
    BeforeValue();
    text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    BeforeValue();
    text += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null()
{
    BeforeValue();
    text += "null";
    return *this;
}
