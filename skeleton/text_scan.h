// Numbers as scanf's "%f" and "%d" read them (white space first, an optional
// sign), independent of the locale and without copying the text.
#pragma once

#include <string_view>

// Reads one finite number from the start of text; advances text past it.
// Infinities, NaN and values beyond the float range are refused.
bool ScanFloat(std::string_view* text, float* value);

// Reads one int; advances text past it. Values beyond int are refused.
bool ScanInt(std::string_view* text, int* value);

// The next word (a run of non-blank characters); empty at the end.
std::string_view NextWord(std::string_view* text);

bool SameIgnoringCase(std::string_view a, std::string_view b);
