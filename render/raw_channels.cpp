#include "render/palette.h"
#include "render/scene.h"

#include <cstdio>

namespace {
constexpr int Rows = 8;
constexpr int Columns = 6;
} // namespace

// Alternate rows in white and black stay apart on the caller's grey.
void DrawRawChannels(Canvas& canvas, const uint16_t channels[48])
{
    char text[16];
    for (int row = 0; row < Rows; row++) {
        Color color = row % 2 ? Palette::White : Palette::Black;
        for (int column = 0; column < Columns; column++) {
            int channel = row + Rows * column;
            std::snprintf(text, sizeof text, "%02d: %04d", channel, channels[channel]);
            canvas.Text({10 + 100 * column, 20 + 20 * row}, text, color, DefaultTextSize);
        }
    }
}
