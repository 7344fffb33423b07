#include "viewer/qt/qt_canvas.h"

#include <QApplication>

#include <algorithm>

namespace {
// Room for the scene's texts with some to spare; the raw channel table's
// numbers change with every paint and cycle through the rest.
constexpr size_t MaxLaidOutTexts = 64;
// The scene's pens come from a small palette; a canvas asked for many more
// makes the rest as it goes.
constexpr size_t MaxKeptPens = 32;

QColor ToQColor(Color color)
{
    return QColor(color.red, color.green, color.blue);
}

QPoint ToQPoint(PixelPoint point)
{
    return QPoint(point.x, point.y);
}
} // namespace

QtCanvas::QtCanvas() : defaultFont(QApplication::font())
{
    pens.reserve(MaxKeptPens);
    laidOut.reserve(MaxLaidOutTexts);
}

QtCanvas::~QtCanvas()
{
    if (painter.isActive())
        painter.end();
}

void QtCanvas::Fit(QSize size)
{
    if (size == image.size() && painter.isActive())
        return;
    if (painter.isActive())
        painter.end();
    image = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    painter.begin(&image);
    painterPen.reset();
    painterBrush.reset();
    painterFontPoints.reset();
}

void QtCanvas::Fill(Color color)
{
    painter.fillRect(image.rect(), ToQColor(color));
}

void QtCanvas::SetPen(Color color, int width)
{
    chosenPen = {color, width};
}

void QtCanvas::Line(PixelPoint from, PixelPoint to)
{
    UsePen(chosenPen);
    painter.drawLine(ToQPoint(from), ToQPoint(to));
}

void QtCanvas::Circle(PixelPoint center, int radius)
{
    UsePen(chosenPen);
    UseBrush({false, {}});
    painter.drawEllipse(QRect(center.x - radius, center.y - radius, 2 * radius, 2 * radius));
}

void QtCanvas::Triangle(PixelPoint a, PixelPoint b, PixelPoint c, Color fill)
{
    UsePen(chosenPen);
    UseBrush({true, fill});
    const QPoint corners[3] = {ToQPoint(a), ToQPoint(b), ToQPoint(c)};
    painter.drawConvexPolygon(corners, 3);
}

void QtCanvas::Text(PixelPoint at, const char* text, Color color, float pointSize)
{
    UsePen({color, 1});
    UseFont(pointSize);
    painter.drawStaticText(ToQPoint(at), LaidOut(text, pointSize)); // placed by its top left
}

const QStaticText& QtCanvas::LaidOut(const char* text, float pointSize)
{
    for (const LaidOutText& entry : laidOut)
        if (entry.pointSize == pointSize && entry.source == text)
            return entry.text;
    QStaticText laid(QString::fromLatin1(text));
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), painter.font());
    if (laidOut.size() < MaxLaidOutTexts)
        return laidOut.emplace_back(LaidOutText{text, pointSize, laid}).text;
    LaidOutText& replaced = laidOut[nextReplaced];
    nextReplaced = (nextReplaced + 1) % MaxLaidOutTexts;
    replaced = {text, pointSize, laid};
    return replaced.text;
}

void QtCanvas::UsePen(PenLook look)
{
    if (painterPen == look)
        return;
    auto known = std::find_if(pens.begin(), pens.end(),
                              [look](const auto& pen) { return pen.first == look; });
    if (known != pens.end()) {
        painter.setPen(known->second);
    } else {
        // As the desktop's wide pens draw: round ends and corners.
        QPen pen(QBrush(ToQColor(look.color)), look.width, Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
        if (pens.size() < MaxKeptPens)
            pens.emplace_back(look, pen);
        painter.setPen(pen);
    }
    painterPen = look;
}

void QtCanvas::UseBrush(BrushLook look)
{
    if (painterBrush == look)
        return;
    if (look.filled) {
        QBrush& brush = brushes[nextBrush];
        nextBrush ^= 1;
        brush.setStyle(Qt::SolidPattern);
        brush.setColor(ToQColor(look.color));
        painter.setBrush(brush);
    } else {
        painter.setBrush(Qt::NoBrush);
    }
    painterBrush = look;
}

void QtCanvas::UseFont(float pointSize)
{
    if (painterFontPoints == pointSize)
        return;
    if (pointSize == DefaultTextSize) {
        painter.setFont(defaultFont);
    } else {
        if (pointSize != sizedFontPoints) {
            sizedFont = defaultFont;
            sizedFont.setPointSizeF(double(pointSize));
            sizedFontPoints = pointSize;
        }
        painter.setFont(sizedFont);
    }
    painterFontPoints = pointSize;
}
