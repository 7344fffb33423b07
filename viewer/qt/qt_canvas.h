// The renderer's Canvas over Qt: a QPainter on an off-screen QImage that
// lives from one paint to the next, so a paint draws into memory it already
// has and the window copies the finished picture to the screen in one piece.
#pragma once

#include "render/canvas.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QStaticText>

#include <optional>
#include <string>
#include <vector>

class QtCanvas : public Canvas {
  public:
    QtCanvas();
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // Makes the image this size, re-creating it only when the size changes;
    // call before each paint.
    void Fit(QSize size);
    // The picture as the last paint left it.
    const QImage& Image() const { return image; }

    void Fill(Color color) override;
    void SetPen(Color color, int width) override;
    void Line(PixelPoint from, PixelPoint to) override;
    void Circle(PixelPoint center, int radius) override;
    void Triangle(PixelPoint a, PixelPoint b, PixelPoint c, Color fill) override;
    void Text(PixelPoint at, const char* text, Color color, float pointSize) override;

  private:
    struct PenLook {
        Color color;
        int width;
        bool operator==(const PenLook&) const = default;
    };
    struct BrushLook {
        bool filled;
        Color color;
        bool operator==(const BrushLook&) const = default;
    };
    void UsePen(PenLook look);
    void UseBrush(BrushLook look);
    void UseFont(float pointSize);
    const QStaticText& LaidOut(const char* text, float pointSize);

    QImage image;
    // Active for as long as the image lives, so what is set on it stays set
    // from one paint to the next.
    QPainter painter;

    // What the renderer last chose, and what the painter holds now (text
    // borrows the painter's pen).
    PenLook chosenPen = {{0, 0, 0}, 1};
    std::optional<PenLook> painterPen;
    std::optional<BrushLook> painterBrush;

    // Every pen made so far: a QPen that changes colour makes a new brush,
    // and the scene uses the same few pens in every paint.
    std::vector<std::pair<PenLook, QPen>> pens;
    // Two brushes used in turn: the painter still refers to the one it drew
    // with last, so the other can change colour in place instead of being
    // copied.
    QBrush brushes[2];
    int nextBrush = 0;

    const QFont defaultFont;
    QFont sizedFont;
    float sizedFontPoints = -1.0f;
    std::optional<float> painterFontPoints;

    // Texts laid out once and drawn from then on without a new layout: the
    // scene's node names and axis labels are the same in every paint.
    struct LaidOutText {
        std::string source;
        float pointSize;
        QStaticText text;
    };
    std::vector<LaidOutText> laidOut;
    size_t nextReplaced = 0;
};
