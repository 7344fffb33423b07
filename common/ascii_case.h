// Comparing words of file formats and command lines, where only ASCII
// letters have a case.
#pragma once

#include <cctype>
#include <string_view>

inline bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i]))
            return false;
    return true;
}
