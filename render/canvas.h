// What the renderer draws with: a few 2-D tools on a surface of pixels
// (origin at the top left, y downward). The viewer's window implements it
// with the toolkit; tests implement it by recording every call.
#pragma once

#include <cstdint>

struct Color {
    uint8_t red, green, blue;
    bool operator==(const Color&) const = default;
};

struct PixelPoint {
    int x, y;
    bool operator==(const PixelPoint&) const = default;
};

constexpr float DefaultTextSize = 0.0f;

class Canvas {
  public:
    virtual ~Canvas() = default;

    // The whole surface in one colour.
    virtual void Fill(Color color) = 0;
    // The pen for lines, circles and triangle outlines: a solid line of the
    // colour, width pixels wide.
    virtual void SetPen(Color color, int width) = 0;
    virtual void Line(PixelPoint from, PixelPoint to) = 0;
    // A hollow circle: only its outline, in the pen.
    virtual void Circle(PixelPoint center, int radius) = 0;
    // A triangle filled with the colour and outlined in the pen.
    virtual void Triangle(PixelPoint a, PixelPoint b, PixelPoint c, Color fill) = 0;
    // Text with a transparent background, its top left corner at the point,
    // in the default face at pointSize (DefaultTextSize: the default font).
    virtual void Text(PixelPoint at, const char* text, Color color, float pointSize) = 0;
};
