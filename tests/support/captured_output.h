// What a command printed to a stream, read back from a temporary file.
#pragma once

#include <cstdio>
#include <string>

class CapturedOutput {
  public:
    CapturedOutput() : file(std::tmpfile()) {}
    ~CapturedOutput() { std::fclose(file); }
    std::string Text() const
    {
        std::fflush(file);
        std::rewind(file);
        std::string text;
        char buffer[512];
        size_t size;
        while ((size = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, size);
        return text;
    }
    std::FILE* file;
};
