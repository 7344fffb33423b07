// The main window's 3-D view: paints the scene through a QtCanvas and turns
// the mouse into camera drags.
#pragma once

#include "viewer/qt/qt_canvas.h"
#include "viewer/shell.h"
#include "viewer/viewer_state.h"

#include <QWidget>

class ViewWidget : public QWidget {
    Q_OBJECT

  public:
    ViewWidget(ViewerState& state, Shell& shell, QWidget* parent);

    const QtCanvas& Canvas() const { return canvas; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    MouseEvent ToMouseEvent(const QMouseEvent& event) const;

    ViewerState& state;
    Shell& shell;
    QtCanvas canvas;
};
