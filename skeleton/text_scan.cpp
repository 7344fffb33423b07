#include "skeleton/text_scan.h"

#include <charconv>
#include <cmath>

namespace {
// The characters scanf skips before a number.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips blanks and a '+' (from_chars takes only '-'); returns false when a
// second sign follows.
bool SkipToNumber(std::string_view* text)
{
    size_t i = 0;
    while (i < text->size() && IsBlank((*text)[i]))
        i++;
    if (i < text->size() && (*text)[i] == '+') {
        i++;
        if (i < text->size() && ((*text)[i] == '+' || (*text)[i] == '-'))
            return false;
    }
    text->remove_prefix(i);
    return true;
}
} // namespace

bool ScanFloat(std::string_view* text, float* value)
{
    std::string_view rest = *text;
    if (!SkipToNumber(&rest))
        return false;
    const char* first = rest.data();
    const char* last = first + rest.size();
    float number;
    auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc::result_out_of_range) {
        // Underflow reads as zero or a denormal, as strtof gives it.
        long double wide;
        auto [wideEnd, wideError] = std::from_chars(first, last, wide);
        if (wideError != std::errc())
            return false;
        number = float(wide);
        end = wideEnd;
    } else if (error != std::errc()) {
        return false;
    }
    if (!std::isfinite(number))
        return false;
    *value = number;
    text->remove_prefix(size_t(end - text->data()));
    return true;
}

bool ScanInt(std::string_view* text, int* value)
{
    std::string_view rest = *text;
    if (!SkipToNumber(&rest))
        return false;
    int number;
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
    if (error != std::errc())
        return false;
    *value = number;
    text->remove_prefix(size_t(end - text->data()));
    return true;
}

std::string_view NextWord(std::string_view* text)
{
    size_t start = 0;
    while (start < text->size() && IsBlank((*text)[start]))
        start++;
    size_t end = start;
    while (end < text->size() && !IsBlank((*text)[end]))
        end++;
    std::string_view word = text->substr(start, end - start);
    text->remove_prefix(end);
    return word;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}
