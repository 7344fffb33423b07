// A Canvas that keeps every drawing call in order, each with the pen it was
// drawn with, for tests that check what a paint drew.
#pragma once

#include "render/canvas.h"

#include <ostream>
#include <string>
#include <vector>

// How GoogleTest shows the canvas's values in a failure.
inline void PrintTo(PixelPoint point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}
inline void PrintTo(Color color, std::ostream* out)
{
    *out << "rgb(" << int(color.red) << ", " << int(color.green) << ", " << int(color.blue) << ")";
}

enum class CanvasCallKind { Fill, Line, Circle, Triangle, Text };

struct CanvasCall {
    CanvasCallKind kind = CanvasCallKind::Fill;
    // The pen's colour for lines, circles and triangle outlines; the text's
    // colour; the surface's for Fill.
    Color color = {};
    int penWidth = 0;
    // Line: from, to. Circle: centre. Triangle: corners. Text: top left.
    PixelPoint points[3] = {};
    int radius = 0;
    Color fill = {}; // a triangle's inside
    std::string text;
    float pointSize = 0.0f;
};

class RecordingCanvas : public Canvas {
  public:
    std::vector<CanvasCall> calls;

    void Fill(Color color) override { Add(CanvasCallKind::Fill, color); }
    void SetPen(Color color, int width) override
    {
        penColor = color;
        penWidth = width;
    }
    void Line(PixelPoint from, PixelPoint to) override
    {
        CanvasCall& call = AddWithPen(CanvasCallKind::Line);
        call.points[0] = from;
        call.points[1] = to;
    }
    void Circle(PixelPoint center, int radius) override
    {
        CanvasCall& call = AddWithPen(CanvasCallKind::Circle);
        call.points[0] = center;
        call.radius = radius;
    }
    void Triangle(PixelPoint a, PixelPoint b, PixelPoint c, Color fill) override
    {
        CanvasCall& call = AddWithPen(CanvasCallKind::Triangle);
        call.points[0] = a;
        call.points[1] = b;
        call.points[2] = c;
        call.fill = fill;
    }
    void Text(PixelPoint at, const char* text, Color color, float pointSize) override
    {
        CanvasCall& call = Add(CanvasCallKind::Text, color);
        call.points[0] = at;
        call.text = text;
        call.pointSize = pointSize;
    }

    // The calls of one kind, of one colour when one is given.
    std::vector<CanvasCall> Drawn(CanvasCallKind kind) const
    {
        std::vector<CanvasCall> found;
        for (const CanvasCall& call : calls)
            if (call.kind == kind)
                found.push_back(call);
        return found;
    }
    std::vector<CanvasCall> Drawn(CanvasCallKind kind, Color color) const
    {
        std::vector<CanvasCall> found;
        for (const CanvasCall& call : Drawn(kind))
            if (call.color == color)
                found.push_back(call);
        return found;
    }

  private:
    Color penColor = {0, 0, 0};
    int penWidth = 1;

    CanvasCall& Add(CanvasCallKind kind, Color color)
    {
        calls.emplace_back();
        calls.back().kind = kind;
        calls.back().color = color;
        return calls.back();
    }
    CanvasCall& AddWithPen(CanvasCallKind kind)
    {
        CanvasCall& call = Add(kind, penColor);
        call.penWidth = penWidth;
        return call;
    }
};
