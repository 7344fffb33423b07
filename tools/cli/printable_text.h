// Text that came from outside (a suit's datagrams, a file) on its way to a
// terminal: control characters could clear the screen or move the cursor.
#pragma once

#include "varnel.h"

#include <string>
#include <string_view>

// The text with each control character (C0, DEL, and C1 as UTF-8) shown as '?'.
std::string PrintableText(std::string_view text);

// A suit's name: it fills its whole field, without a NUL, at 16 characters.
std::string PrintableSuitName(const SuitInfo& suit);
