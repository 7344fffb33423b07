// printf and scanf conversions in the C locale whatever the user's locale:
// the settings file must read back alike on every desktop, and the status
// texts are the program's own.
#pragma once

#include <string>
#include <string_view>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same into the caller's buffer, cut to fit: for the texts of every
// paint, which must not allocate.
std::string_view FormatTextInto(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Scans text with "%f". False, and value unchanged, when the text does not
// start with a finite number: "nan" or "inf" in an edited file must not
// reach the floor or the BVH reader.
bool ScanFloat(const char* text, float* value);
