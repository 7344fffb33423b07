#include "viewer/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace {
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

// Switches only the calling thread, so other threads keep their locale.
class CLocaleScope {
  public:
    CLocaleScope() : previous(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t previous;
};
} // namespace

std::string FormatText(const char* format, ...)
{
    CLocaleScope scope;
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text(length > 0 ? size_t(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string_view FormatTextInto(char* buffer, size_t size, const char* format, ...)
{
    CLocaleScope scope;
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(buffer, size, format, arguments);
    va_end(arguments);
    if (length < 0 || size == 0)
        return {};
    return {buffer, std::min(size_t(length), size - 1)};
}

bool ScanFloat(const char* text, float* value)
{
    CLocaleScope scope;
    float scanned;
    if (std::sscanf(text, "%f", &scanned) != 1 || !std::isfinite(scanned))
        return false;
    *value = scanned;
    return true;
}
