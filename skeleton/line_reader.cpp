#include "line_reader.h"

#include <cstring>

namespace {
constexpr size_t InitialCapacity = 64 * 1024;
}

LineReader::LineReader(std::FILE* file)
    : file(file), buffer(new char[InitialCapacity]), capacity(InitialCapacity)
{
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long size = std::ftell(file);
        if (size >= 0)
            fileSize = size;
    }
    std::rewind(file);
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

bool LineReader::Next(std::string_view* line)
{
    size_t searched = start;
    for (;;) {
        const char* data = buffer.get();
        auto* feed = static_cast<const char*>(std::memchr(data + searched, '\n', end - searched));
        if (feed) {
            size_t length = size_t(feed - (data + start));
            consumed += (long long)length + 1;
            if (length > 0 && data[start + length - 1] == '\r')
                length--;
            *line = std::string_view(data + start, length);
            start += size_t(feed - (data + start)) + 1;
            return true;
        }
        size_t pending = end - start;
        if (!Fill()) {
            if (pending == 0)
                return false;
            // A last line without a line end.
            consumed += (long long)pending;
            size_t length = pending;
            if (buffer[start + length - 1] == '\r')
                length--;
            *line = std::string_view(buffer.get() + start, length);
            start = end;
            return true;
        }
        searched = start + pending;
    }
}

long long LineReader::RemainingBytes() const
{
    return fileSize < 0 ? -1 : fileSize - consumed;
}
