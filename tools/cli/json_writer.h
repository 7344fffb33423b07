// A small writer of JSON text for the commands' --json output: the caller
// opens and closes objects and arrays in order, the writer places commas
// and escapes strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next value in an object.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view text);
    // The shortest text that reads back as the same float or double; null
    // for a value JSON cannot hold (infinity, NaN).
    JsonWriter& Number(float value);
    JsonWriter& Number(double value);
    JsonWriter& Integer(int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Text() const { return text; }

  private:
    void BeforeValue();
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);

    std::string text;
    std::vector<bool> firstInLevel;
    bool afterKey = false;
};

// text as a JSON string with its quotes. Bytes that are not UTF-8 become
// U+FFFD: a suit's name or a file's name may hold any bytes.
std::string JsonString(std::string_view text);
