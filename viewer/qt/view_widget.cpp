#include "viewer/qt/view_widget.h"

#include "platform/clock.h"
#include "viewer/mouse.h"
#include "viewer/paint.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {
bool IsDragButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton;
}
} // namespace

ViewWidget::ViewWidget(ViewerState& state, Shell& shell, QWidget* parent)
    : QWidget(parent), state(state), shell(shell)
{
    // The paint covers every pixel: nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The lettered shortcuts, Space and Esc must reach the menu's commands:
    // the view keeps the focus and takes none of those keys itself.
    setFocusPolicy(Qt::StrongFocus);
}

void ViewWidget::paintEvent(QPaintEvent*)
{
    canvas.Fit(size());
    PaintView(state, shell, canvas, {width(), height()}, MillisecondCounter());
    QPainter(this).drawImage(0, 0, canvas.Image());
}

void ViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (IsDragButton(event->button()))
        OnMouseDown(state, ToMouseEvent(*event));
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (IsDragButton(event->button()))
        OnMouseUp(state);
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(state, shell, ToMouseEvent(*event));
}

MouseEvent ViewWidget::ToMouseEvent(const QMouseEvent& event) const
{
    MouseEvent mouse;
    QPoint global = event.globalPosition().toPoint();
    mouse.screenX = global.x();
    mouse.screenY = global.y();
    mouse.leftHeld = event.buttons() & Qt::LeftButton;
    mouse.rightHeld = event.buttons() & Qt::RightButton;
    mouse.shift = event.modifiers() & Qt::ShiftModifier;
    mouse.control = event.modifiers() & Qt::ControlModifier;
    QSize screenSize = screen()->geometry().size();
    mouse.screenWidth = screenSize.width();
    mouse.screenHeight = screenSize.height();
    QPoint origin = mapToGlobal(QPoint(0, 0));
    mouse.clientOriginX = origin.x();
    mouse.clientOriginY = origin.y();
    return mouse;
}
