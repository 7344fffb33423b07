// The edit fields of the option dialogs: how a text is read as a number and
// what the user is told when it is not one, and how numbers are shown.
#pragma once

#include "viewer/shell.h"

#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

// A message box a dialog's event asks for, and the control (the dialog's own
// numbering) that takes the focus back after it; -1 for none.
struct DialogNotice {
    std::string text;
    MessageIcon icon = MessageIcon::Exclamation;
    int focus = -1;
};

// One field's reading: the value, or the message for the user.
struct FieldReading {
    double value = 0;
    std::string message; // empty when the text was accepted
    bool Valid() const { return message.empty(); }
};

// Blanks around the number are allowed, nothing else. A number field takes a
// decimal number (never "nan" or "inf") that fits a float; with finite
// bounds it must lie between them. An integer field takes an optional sign
// and digits; bounds other than the int range give the range message.
// Bounds appear in messages as the user would type them: integers plain,
// numbers in their shortest form without trailing zeros ("-360", "0.5").
FieldReading ReadNumber(std::string_view text, double min = -HUGE_VAL, double max = HUGE_VAL);
FieldReading ReadInteger(std::string_view text, int min = INT_MIN, int max = INT_MAX);

// A float as a field shows it: up to six significant digits.
std::string ShowNumber(float value);
std::string ShowInteger(int value);

// Reads a dialog's fields in its exchange order; after the first failure the
// rest are left alone and failure holds the message and the control.
class FieldReader {
  public:
    void Number(std::string_view text, float& value, int control, double min = -HUGE_VAL,
                double max = HUGE_VAL);
    void Integer(std::string_view text, int& value, int control, int min = INT_MIN,
                 int max = INT_MAX);

    std::optional<DialogNotice> failure;
};

// value + 0.5 truncated toward zero, held to the int range (0 for NaN): a
// limit typed in seconds may not fit once it is counted in frames.
int RoundedCount(double value);
