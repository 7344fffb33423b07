// Reading and writing keys of INI files by the private-profile rules: section
// and key names match without regard to case, a value is the text after the
// first "=" with surrounding blanks removed and at most 255 characters long
// (unless the reader asks for more), the first matching section and key win,
// CR LF and LF line ends both read, and a missing file reads as a file
// without keys. Writing changes only the lines of the keys written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest value a lookup returns; longer values are cut.
constexpr size_t IniValueMaxLength = 255;

// An INI file read once into memory, so that many keys cost one read.
class IniText {
  public:
    explicit IniText(std::string text) : text(std::move(text)) {}

    // A missing or unreadable file loads as an empty text.
    static IniText Load(const char* path);

    // Copies the value of key in section into value (NUL-terminated, cut to
    // capacity - 1 and to IniValueMaxLength characters). False, with value
    // empty, when the section or the key is missing.
    bool Find(std::string_view section, std::string_view key, char* value, size_t capacity,
              size_t maxLength = IniValueMaxLength) const;

    // Gives key in section the value: its line is rewritten where Find would
    // find it, else the key is added at the end of the section, else the
    // section is added at the end of the text. Every other line stays.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // Writes the text to path through a temporary file and a rename, so a
    // crash or a full disk never leaves half a file. False on any failure.
    bool Save(const char* path) const;

    const std::string& Text() const { return text; }

    // The name of the first section, empty when there is none.
    std::string FirstSection() const;

  private:
    std::string text;
};

// One key of one section of a file, read as IniText::Find reads it.
bool ReadIniKey(const char* path, const char* section, const char* key, char* value,
                size_t capacity);
