#include "tools/cli/printable_text.h"

#include <cstring>

namespace {
bool IsControl(uint8_t byte)
{
    return byte < 0x20 || byte == 0x7f;
}

// U+0080 to U+009F: terminals read U+009B as the start of an escape sequence.
bool IsEncodedC1Control(std::string_view text, size_t at)
{
    return uint8_t(text[at]) == 0xc2 && at + 1 < text.size() && uint8_t(text[at + 1]) >= 0x80 &&
           uint8_t(text[at + 1]) <= 0x9f;
}
} // namespace

std::string PrintableText(std::string_view text)
{
    std::string printable;
    printable.reserve(text.size());
    for (size_t at = 0; at < text.size(); at++) {
        if (IsEncodedC1Control(text, at)) {
            printable += '?';
            at++;
        } else {
            printable += IsControl(uint8_t(text[at])) ? '?' : text[at];
        }
    }
    return printable;
}

std::string PrintableSuitName(const SuitInfo& suit)
{
    return PrintableText(std::string_view(suit.name, strnlen(suit.name, sizeof suit.name)));
}
