#include "viewer/mouse.h"

void OnMouseDown(ViewerState& state, const MouseEvent& event)
{
    BeginDrag(state.camera, event);
}

void OnMouseUp(ViewerState& state)
{
    EndDrag(state.camera);
}

void OnMouseMove(ViewerState& state, Shell& shell, const MouseEvent& event)
{
    if (DragTo(state.camera, event))
        shell.Repaint();
}
