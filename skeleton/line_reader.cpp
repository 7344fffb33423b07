#include "skeleton/line_reader.h"

#include <cstring>
#include <sys/stat.h>

namespace {
constexpr size_t InitialCapacity = 64 * 1024;

// Only a regular file's size says how much is left: a device reports 0.
long long RegularFileSize(std::FILE* file)
{
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    return status.st_size;
}
} // namespace

LineReader::LineReader(std::FILE* file)
    : file(file), buffer(new char[InitialCapacity]), capacity(InitialCapacity),
      fileSize(RegularFileSize(file))
{
}

bool LineReader::Fill()
{
    if (atEnd)
        return false;
    if (start > 0) {
        std::memmove(buffer.get(), buffer.get() + start, end - start);
        end -= start;
        start = 0;
    }
    if (end == capacity) {
        // One line fills the whole buffer: make room for more of it.
        size_t larger = capacity * 2;
        std::unique_ptr<char[]> grown(new char[larger]);
        std::memcpy(grown.get(), buffer.get(), end);
        buffer = std::move(grown);
        capacity = larger;
    }
    size_t count = std::fread(buffer.get() + end, 1, capacity - end, file);
    end += count;
    if (count == 0)
        atEnd = true;
    return count > 0;
}

// Returns the length bytes at start as a line and skips its lineEnd bytes.
bool LineReader::TakeLine(size_t length, size_t lineEnd, std::string_view* line)
{
    if (length > MaxLineLength)
        return Refuse();
    consumed += (long long)(length + lineEnd);
    const char* text = buffer.get() + start;
    start += length + lineEnd;
    if (length > 0 && text[length - 1] == '\r')
        length--;
    *line = std::string_view(text, length);
    return true;
}

// Nothing after a line too long is read: the file is refused at it.
bool LineReader::Refuse()
{
    atEnd = true;
    start = end;
    return false;
}

bool LineReader::Next(std::string_view* line)
{
    size_t searched = start;
    for (;;) {
        const char* data = buffer.get();
        auto* feed = static_cast<const char*>(std::memchr(data + searched, '\n', end - searched));
        if (feed)
            return TakeLine(size_t(feed - (data + start)), 1, line);
        size_t pending = end - start;
        if (pending > MaxLineLength)
            return Refuse();
        if (!Fill())
            return pending > 0 && TakeLine(pending, 0, line); // a last line without a line end
        searched = start + pending;
    }
}

long long LineReader::RemainingBytes() const
{
    return fileSize < 0 ? -1 : fileSize - consumed;
}
