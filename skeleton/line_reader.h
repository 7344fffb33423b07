// Text lines from a file, LF or CR LF terminated, in one pass through a
// buffer that grows only for a line longer than it, up to MaxLineLength.
#pragma once

#include "common/text_limits.h"

#include <cstdio>
#include <memory>
#include <string_view>

class LineReader {
  public:
    explicit LineReader(std::FILE* file);

    // The next line without its line end (a CR before the LF is dropped);
    // false at the end of the file, and at a line of more than
    // MaxLineLength bytes before its LF. The view lasts until the next call.
    bool Next(std::string_view* line);

    // Bytes not yet returned as lines, or -1 when the file's size is unknown.
    long long RemainingBytes() const;

  private:
    bool Fill();
    bool TakeLine(size_t length, size_t lineEnd, std::string_view* line);
    bool Refuse();

    std::FILE* file;
    std::unique_ptr<char[]> buffer;
    size_t capacity;
    size_t start = 0; // first byte not yet returned
    size_t end = 0;   // end of the bytes read
    bool atEnd = false;
    long long fileSize = -1;
    long long consumed = 0;
};
