#include "platform/ini_file.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
// No INI file of this system comes near this size; the cap keeps a path such
// as /dev/zero from eating memory.
constexpr size_t MaximumFileSize = 1 << 20;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

// Walks the lines of an INI text, telling section headers from key lines.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : rest(text)
    {
        constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
        if (rest.starts_with(ByteOrderMark))
            rest.remove_prefix(ByteOrderMark.size());
    }

    bool Next(std::string_view* line)
    {
        if (rest.empty())
            return false;
        size_t end = rest.find('\n');
        lineStart = rest.data();
        lineEnd = rest.data() + (end == std::string_view::npos ? rest.size() : end);
        *line = TrimBlanks(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return true;
    }

    // The last line returned, untrimmed and without its line end (a CR
    // stays).
    const char* lineStart = nullptr;
    const char* lineEnd = nullptr;

  private:
    std::string_view rest;
};

bool SectionName(std::string_view line, std::string_view* name)
{
    if (!line.starts_with('['))
        return false;
    size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return false;
    *name = TrimBlanks(line.substr(1, close - 1));
    return true;
}

// Lines without "=" define no value: the reader then sees the key as missing.
bool KeyAndValue(std::string_view line, std::string_view* key, std::string_view* value)
{
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    *key = TrimBlanks(line.substr(0, equals));
    *value = TrimBlanks(line.substr(equals + 1));
    return !key->empty();
}

void CopyValue(std::string_view text, char* value, size_t capacity, size_t maxLength)
{
    if (capacity == 0)
        return;
    size_t length = std::min({text.size(), capacity - 1, maxLength});
    if (length > 0)
        std::memcpy(value, text.data(), length);
    value[length] = '\0';
}
} // namespace

IniText IniText::Load(const char* path)
{
    std::string text;
    int file = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0)
        return IniText(std::move(text));
    char buffer[4096];
    while (text.size() < MaximumFileSize) {
        ssize_t count = read(file, buffer, sizeof buffer);
        if (count <= 0)
            break;
        text.append(buffer, std::min(size_t(count), MaximumFileSize - text.size()));
    }
    close(file);
    return IniText(std::move(text));
}

bool IniText::Find(std::string_view section, std::string_view key, char* value, size_t capacity,
                   size_t maxLength) const
{
    CopyValue({}, value, capacity, maxLength);
    LineReader lines(text);
    std::string_view line;
    bool inSection = false;
    bool sectionSeen = false;
    while (lines.Next(&line)) {
        std::string_view name;
        if (SectionName(line, &name)) {
            // Only the first section of a name counts.
            if (sectionSeen)
                return false;
            inSection = EqualIgnoringCase(name, section);
            sectionSeen = inSection;
            continue;
        }
        std::string_view lineKey, lineValue;
        if (inSection && KeyAndValue(line, &lineKey, &lineValue) &&
            EqualIgnoringCase(lineKey, key)) {
            CopyValue(lineValue, value, capacity, maxLength);
            return true;
        }
    }
    return false;
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string line = std::string(key) + "=" + std::string(value);
    LineReader lines(text);
    std::string_view current;
    bool inSection = false;
    size_t sectionEnd = std::string::npos; // just after the section's last non-blank line
    while (lines.Next(&current)) {
        std::string_view name;
        if (SectionName(current, &name)) {
            if (inSection)
                break;
            inSection = EqualIgnoringCase(name, section);
        } else if (inSection) {
            std::string_view lineKey, lineValue;
            if (KeyAndValue(current, &lineKey, &lineValue) && EqualIgnoringCase(lineKey, key)) {
                size_t start = size_t(lines.lineStart - text.data());
                size_t end = size_t(lines.lineEnd - text.data());
                bool crlf = end > start && text[end - 1] == '\r';
                text.replace(start, end - start, crlf ? line + "\r" : line);
                return;
            }
        }
        if (inSection && !current.empty())
            sectionEnd = size_t(lines.lineEnd - text.data());
    }
    if (sectionEnd != std::string::npos) {
        // After the section's last line, keeping that line's end.
        size_t at = text.find('\n', sectionEnd);
        if (at == std::string::npos) {
            text += '\n';
            at = text.size() - 1;
        }
        text.insert(at + 1, line + "\n");
        return;
    }
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    if (!text.empty())
        text += '\n';
    // Appended piece by piece: g++ 12 mistakes a chain of string sums for an
    // overlapping copy in an optimised build.
    text.append("[").append(section).append("]\n").append(line).append("\n");
}

bool IniText::Save(const char* path) const
{
    AtomicFile file;
    if (file.Open(path) != AtomicFileOpen::Opened)
        return false;
    file.Write(text.data(), text.size());
    return file.Commit();
}

std::string IniText::FirstSection() const
{
    LineReader lines(text);
    std::string_view line;
    while (lines.Next(&line)) {
        std::string_view name;
        if (SectionName(line, &name))
            return std::string(name);
    }
    return {};
}

bool ReadIniKey(const char* path, const char* section, const char* key, char* value,
                size_t capacity)
{
    return IniText::Load(path).Find(section, key, value, capacity);
}
