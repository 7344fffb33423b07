#include "render/camera.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Far beyond any screen, and small enough that adding half a view size to
// it still fits an int.
constexpr double PixelLimit = 1 << 30;

// Of the tighter dimension, the share of the view a fitted box fills.
constexpr double FitShare = 0.85;

int Half(int size)
{
    return size >> 1;
}

// Pixels per unit that fit span into its share of size; 0 for an empty span.
double FittingScale(int size, float span)
{
    return span > 0.0f ? size * FitShare / span : 0.0;
}

float FitScale(int viewWidth, int viewHeight, float spanU, float spanW)
{
    double byWidth = FittingScale(viewWidth, spanU);
    double byHeight = FittingScale(viewHeight, spanW);
    if (byWidth == 0.0 && byHeight == 0.0)
        return 1.0f;
    if (byWidth == 0.0)
        return float(byHeight);
    if (byHeight == 0.0)
        return float(byWidth);
    return float(byHeight < byWidth ? byHeight : byWidth);
}

bool IsAtDragStart(const Camera& camera)
{
    return camera.PanX == camera.DragStartPanX && camera.PanY == camera.DragStartPanY &&
           camera.ViewScale == camera.DragStartScale &&
           std::memcmp(&camera.ViewMatrix, &camera.DragStartMatrix, sizeof(Matrix)) == 0;
}

// Every drag formula gives the press's camera for no motion; restoring it
// directly also holds for a zoom that started below the smallest scale.
bool ReturnToDragStart(Camera& camera)
{
    if (IsAtDragStart(camera))
        return false;
    camera.ViewMatrix = camera.DragStartMatrix;
    camera.PanX = camera.DragStartPanX;
    camera.PanY = camera.DragStartPanY;
    camera.ViewScale = camera.DragStartScale;
    return true;
}

void Pan(Camera& camera, int dx, int dy)
{
    camera.PanX = camera.DragStartPanX + float(dx);
    camera.PanY = camera.DragStartPanY + float(dy);
}

// Upward travel enlarges; a full screen height of it multiplies by nine.
void Zoom(Camera& camera, int dy, int screenHeight)
{
    float factor = 1.0f + float(-dy) * MouseSensitivity / float(screenHeight);
    camera.ViewScale = camera.DragStartScale * std::max(factor, 0.0f);
    camera.ViewScale = std::max(camera.ViewScale, MinimumViewScale);
}

void Tumble(Camera& camera, int dx, int dy, int screenWidth, int screenHeight)
{
    float yaw = float(dx) * MouseSensitivity / float(screenWidth);
    float pitch = float(dy) * MouseSensitivity / float(screenHeight);
    camera.ViewMatrix = Matrix::RotX(pitch) * Matrix::RotY(yaw) * camera.DragStartMatrix;
}

// Turns the view about the line of sight through the projected world origin
// by the angle the cursor swept around it since the press.
void Spin(Camera& camera, const MouseEvent& event)
{
    float centreX = float(RoundedToInt(camera.PanX) + Half(camera.ViewWidth) + event.clientOriginX);
    float centreY =
        float(RoundedToInt(camera.PanY) + Half(camera.ViewHeight) + event.clientOriginY);
    float startAngle =
        std::atan2(float(camera.DragStartY) - centreY, float(camera.DragStartX) - centreX);
    float angle = std::atan2(float(event.screenY) - centreY, float(event.screenX) - centreX);
    camera.ViewMatrix = Matrix::RotZ(startAngle - angle) * camera.DragStartMatrix;
}
} // namespace

int RoundedToInt(double value)
{
    double shifted = value + 0.5;
    if (!(shifted > -PixelLimit)) // NaN too
        return -int(PixelLimit);
    if (shifted > PixelLimit)
        return int(PixelLimit);
    return int(shifted);
}

PixelPoint ProjectPoint(const Camera& camera, Vector point)
{
    float u = camera.ViewMatrix.RowX().Dot(point);
    float v = camera.ViewMatrix.RowY().Dot(point);
    double x = double(u) * camera.ViewScale + camera.PanX;
    // The view has always rounded the vertical coordinate from a float, and
    // which pixel a half lands on depends on it.
    float y = float(camera.PanY - double(v) * camera.ViewScale);
    return {RoundedToInt(x) + Half(camera.ViewWidth), RoundedToInt(y) + Half(camera.ViewHeight)};
}

float DepthOf(const Camera& camera, Vector point)
{
    return camera.ViewMatrix.RowZ().Dot(point);
}

void ZeroView(Camera& camera)
{
    camera.ViewMatrix = DefaultViewMatrix;
    camera.ViewScale = DefaultViewScale;
    camera.PanX = 0.0f;
    camera.PanY = 0.0f;
}

void FitView(Camera& camera, int viewWidth, int viewHeight, float minU, float minW, float maxU,
             float maxW)
{
    camera.ViewWidth = viewWidth;
    camera.ViewHeight = viewHeight;
    camera.ViewScale = FitScale(viewWidth, viewHeight, maxU - minU, maxW - minW);
    camera.PanX = -(minU + maxU) * 0.5f * camera.ViewScale;
    camera.PanY = -(minW + maxW) * 0.5f * camera.ViewScale;
}

void BeginDrag(Camera& camera, const MouseEvent& event)
{
    if (camera.Dragging)
        return;
    camera.DragStartX = event.screenX;
    camera.DragStartY = event.screenY;
    camera.DragStartMatrix = camera.ViewMatrix;
    camera.DragStartPanX = camera.PanX;
    camera.DragStartPanY = camera.PanY;
    camera.DragStartScale = camera.ViewScale;
    camera.Dragging = 1;
}

void EndDrag(Camera& camera)
{
    camera.Dragging = 0;
}

bool DragTo(Camera& camera, const MouseEvent& event)
{
    if (!camera.Dragging || !(event.leftHeld || event.rightHeld))
        return false;
    int dx = event.screenX - camera.DragStartX;
    int dy = event.screenY - camera.DragStartY;
    if (dx == 0 && dy == 0)
        return ReturnToDragStart(camera);
    // A zero-sized screen would make every step infinite.
    int screenWidth = std::max(event.screenWidth, 1);
    int screenHeight = std::max(event.screenHeight, 1);
    if (event.shift || event.control) {
        if (event.leftHeld)
            Pan(camera, dx, dy);
        else
            Zoom(camera, dy, screenHeight);
    } else if (event.leftHeld) {
        Tumble(camera, dx, dy, screenWidth, screenHeight);
    } else {
        Spin(camera, event);
    }
    return true;
}
