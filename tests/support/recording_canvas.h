// A Canvas that keeps every drawing call in order, each with the pen it was
// drawn with, for tests that check what a paint drew.
#pragma once

#include "render/canvas.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// How GoogleTest shows a point in a failure.
inline void PrintTo(PixelPoint point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}

enum class CanvasCallKind { Fill, Line, Circle, Triangle, Text };

struct CanvasCall {
    CanvasCallKind kind = CanvasCallKind::Fill;
    // The pen's colour for lines, circles and triangle outlines; else the
    // text's or the surface's.
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

    void Fill(Color color) override { Add(CanvasCallKind::Fill, color, {}); }
    void SetPen(Color color, int width) override
    {
        penColor = color;
        penWidth = width;
    }
    void Line(PixelPoint from, PixelPoint to) override
    {
        Add(CanvasCallKind::Line, penColor, {from, to}).penWidth = penWidth;
    }
    void Circle(PixelPoint center, int radius) override
    {
        CanvasCall& call = Add(CanvasCallKind::Circle, penColor, {center});
        call.penWidth = penWidth;
        call.radius = radius;
    }
    void Triangle(PixelPoint a, PixelPoint b, PixelPoint c, Color fill) override
    {
        CanvasCall& call = Add(CanvasCallKind::Triangle, penColor, {a, b, c});
        call.penWidth = penWidth;
        call.fill = fill;
    }
    void Text(PixelPoint at, const char* text, Color color, float pointSize) override
    {
        CanvasCall& call = Add(CanvasCallKind::Text, color, {at});
        call.text = text;
        call.pointSize = pointSize;
    }

    // The calls of one kind, of one colour when one is given.
    std::vector<CanvasCall> Drawn(CanvasCallKind kind, std::optional<Color> color = {}) const
    {
        std::vector<CanvasCall> found;
        for (const CanvasCall& call : calls)
            if (call.kind == kind && (!color || call.color == *color))
                found.push_back(call);
        return found;
    }

  private:
    Color penColor = {0, 0, 0};
    int penWidth = 1;

    CanvasCall& Add(CanvasCallKind kind, Color color, std::initializer_list<PixelPoint> points)
    {
        CanvasCall& call = calls.emplace_back();
        call.kind = kind;
        call.color = color;
        std::copy(points.begin(), points.end(), call.points);
        return call;
    }
};
