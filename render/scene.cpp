#include "render/scene.h"

#include "render/body.h"
#include "render/floor_grid.h"
#include "render/palette.h"

namespace {
constexpr int MarkerRadius = 6;
// The axes keep this length in pixels at any zoom.
constexpr float AxisPixels = 50.0f;
constexpr float NodeNameSize = 7.2f;

PixelPoint NodeOnScreen(const Camera& camera, const Skeleton& skeleton, int node)
{
    return ProjectPoint(camera, skeleton.nodes[node].worldPosition);
}

void DrawAxes(Canvas& canvas, const Camera& camera)
{
    Camera unitPixels = camera;
    unitPixels.ViewScale = AxisPixels;
    const struct {
        const Vector& tip;
        const char* label;
    } axes[] = {{VectorXAxis, "X"}, {VectorYAxis, "Y"}, {VectorZAxis, "Z"}};
    PixelPoint origin = ProjectPoint(unitPixels, VectorZero);
    canvas.SetPen(Palette::Yellow, 2);
    for (const auto& axis : axes) {
        PixelPoint tip = ProjectPoint(unitPixels, axis.tip);
        canvas.Line(origin, tip);
        canvas.Text(tip, axis.label, Palette::Red, DefaultTextSize);
    }
}

PixelPoint ShadowOnScreen(const Camera& camera, const Skeleton& skeleton, int node)
{
    Vector point = skeleton.nodes[node].worldPosition;
    return ProjectPoint(camera, Vector(point.x, point.y, VarnelFloorHeight(point.x, point.y)));
}

void DrawFootShadows(Canvas& canvas, const Camera& camera, const Skeleton& skeleton)
{
    const int feet[][2] = {{NodeLeftFootHeel, NodeLeftFootBall},
                           {NodeRightFootHeel, NodeRightFootBall}};
    canvas.SetPen(Palette::Blue, 2);
    for (const auto& foot : feet) {
        PixelPoint heel = ShadowOnScreen(camera, skeleton, foot[0]);
        PixelPoint ball = ShadowOnScreen(camera, skeleton, foot[1]);
        canvas.Circle(heel, MarkerRadius);
        canvas.Line(heel, ball);
        canvas.Circle(ball, MarkerRadius);
    }
}

void DrawNodeMarkers(Canvas& canvas, const Camera& camera, const Skeleton& skeleton)
{
    canvas.SetPen(Palette::Green, 2);
    for (const SkeletonNode& node : skeleton.nodes)
        canvas.Circle(ProjectPoint(camera, node.worldPosition), MarkerRadius);
}

void DrawContactMarkers(Canvas& canvas, const Camera& camera, const Skeleton& skeleton,
                        uint32_t contacts)
{
    const struct {
        uint32_t bit;
        int node;
    } points[] = {{ContactLeftFootHeel, NodeLeftFootHeel},
                  {ContactRightFootHeel, NodeRightFootHeel},
                  {ContactLeftFootBall, NodeLeftFootBall},
                  {ContactRightFootBall, NodeRightFootBall}};
    canvas.SetPen(Palette::Red, 2);
    for (const auto& point : points)
        if (contacts & point.bit)
            canvas.Circle(NodeOnScreen(camera, skeleton, point.node), MarkerRadius);
}

// A black copy under the green name keeps it readable on any background.
void DrawNodeNames(Canvas& canvas, const Camera& camera, const Skeleton& skeleton)
{
    for (const SkeletonNode& node : skeleton.nodes) {
        PixelPoint at = ProjectPoint(camera, node.worldPosition);
        canvas.Text({at.x + 10, at.y + 2}, node.name, Palette::Black, NodeNameSize);
        canvas.Text({at.x + 8, at.y}, node.name, Palette::Green, NodeNameSize);
    }
}
} // namespace

void DrawScene(Canvas& canvas, const Camera& camera, const Skeleton& skeleton, uint32_t contacts,
               const FloorGeometry& floor, const SceneOptions& options)
{
    if (options.showGrid)
        DrawFloorGrid(canvas, camera, floor);
    if (options.showAxes)
        DrawAxes(canvas, camera);
    if (options.showFootShadow)
        DrawFootShadows(canvas, camera, skeleton);
    if (options.showNodes)
        DrawNodeMarkers(canvas, camera, skeleton);
    if (options.showContactPoints)
        DrawContactMarkers(canvas, camera, skeleton, contacts);
    if (options.renderType == RenderWireframe || options.renderType == RenderSolid)
        DrawBody(canvas, camera, skeleton, options.renderType);
    if (options.showNodeNames)
        DrawNodeNames(canvas, camera, skeleton);
}
