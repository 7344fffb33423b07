#include "viewer/qt/qt_canvas.h"

#include <QApplication>
#include <QFontMetrics>

namespace {
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
    for (QPen& pen : pens) {
        // As the desktop's wide pens draw: round ends and corners.
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    textBuffer.reserve(64);
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
    textBuffer.resize(0);
    textBuffer.append(QLatin1StringView(text));
    // Qt places text by its baseline.
    painter.drawText(at.x, at.y + ascent, textBuffer);
}

void QtCanvas::UsePen(PenLook look)
{
    if (painterPen == look)
        return;
    QPen& pen = pens[nextPen];
    nextPen ^= 1;
    pen.setColor(ToQColor(look.color));
    pen.setWidth(look.width);
    painter.setPen(pen);
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
    ascent = painter.fontMetrics().ascent();
    painterFontPoints = pointSize;
}
