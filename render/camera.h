// The orthographic camera of the 3-D view: a world-to-view rotation, a scale
// in pixels per world unit and a pan in pixels, with the projection of world
// points to view pixels, fitting, and the mouse drags (tumble, spin, pan,
// zoom). Every drag is computed from the camera at the press, never
// incrementally, so a drag that returns to its start restores the camera
// exactly.
#pragma once

#include "render/canvas.h"
#include "varnel.h"

// Row X gives the rightward screen coordinate, row Y the upward one, row Z
// the depth (larger is nearer). The default view looks along world +Y.
inline const Matrix DefaultViewMatrix(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, -1.0f, 0.0f);
constexpr float DefaultViewScale = 6.0f;
// Radians of tumble, or zoom factor step, per screen width or height of
// mouse travel.
constexpr float MouseSensitivity = 8.0f;
constexpr float MinimumViewScale = 0.1f;

struct Camera {
    Matrix ViewMatrix = DefaultViewMatrix;
    float ViewScale = DefaultViewScale; // pixels per world unit
    float PanX = 0.0f;                  // projected world origin from the view centre, rightward
    float PanY = 0.0f;                  // ... downward
    int ViewWidth = 0;                  // client area, pixels
    int ViewHeight = 0;                 // client area above the status bar, pixels

    // The drag in progress: the mouse is captured from a button press to
    // the next button release.
    int Dragging = 0;
    int DragStartX = 0, DragStartY = 0; // screen pixels at the press
    Matrix DragStartMatrix = DefaultViewMatrix;
    float DragStartPanX = 0.0f, DragStartPanY = 0.0f;
    float DragStartScale = DefaultViewScale;
};

// "Rounded": add 0.5 and truncate toward zero (-2.7 gives -2). Values far
// beyond any screen are held at +-2^30 pixels, so the result stays an int.
int RoundedToInt(double value);

// World point to view pixel.
PixelPoint ProjectPoint(const Camera& camera, Vector point);

// Depth of a world point: row Z of the view matrix; larger is nearer.
float DepthOf(const Camera& camera, Vector point);

// "&Zero View": default rotation and scale, origin at the view centre.
void ZeroView(Camera& camera);

// Centres and scales the camera on a box in unscaled view coordinates (u
// rightward, w downward) so that it fills 85 % of the tighter dimension of
// a view of the given size (which becomes the camera's view size). A box
// flat in one direction (a skeleton seen edge-on) is fitted by the other.
void FitView(Camera& camera, int viewWidth, int viewHeight, float minU, float minW, float maxU,
             float maxW);

// A mouse event in screen pixels, with what the desktop knows at that moment.
struct MouseEvent {
    int screenX = 0, screenY = 0;
    bool leftHeld = false, rightHeld = false;
    bool shift = false, control = false;
    int screenWidth = 1, screenHeight = 1; // pixels of the whole screen
    // Where the view's client pixel (0, 0) lies on the screen.
    int clientOriginX = 0, clientOriginY = 0;
};

// Button press (left or right alike): starts a drag unless one runs.
void BeginDrag(Camera& camera, const MouseEvent& event);
// Button release (either): ends the drag, even with the other still held.
void EndDrag(Camera& camera);
// Mouse move: tumble (left), spin (right), pan (left with Shift or Ctrl) or
// zoom (right with Shift or Ctrl). A move back onto the press point restores
// the camera of the press. True when the camera changed and the view needs a
// repaint.
bool DragTo(Camera& camera, const MouseEvent& event);
