// The scene over the rest pose: axes, contact markers, the body's place and
// order, and the shading of a solid face.
#include "render/body.h"
#include "render/palette.h"
#include "render/scene.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
struct Scene : testing::Test {
    OwnedSkeleton skeleton;
    Camera camera;
    RecordingCanvas canvas;
    SceneOptions options = {false, false, false, false, false, false, RenderNothing};

    Scene()
    {
        VarnelSetFloor(FloorGeometry{});
        VarnelApplyFrame(skeleton.get(), &skeleton->frames[0], 0, 0);
    }
    void Draw(uint32_t contacts = 0)
    {
        canvas.calls.clear();
        DrawScene(canvas, camera, skeleton.skeleton, contacts, FloorGeometry{}, options);
    }
    PixelPoint At(int node) { return ProjectPoint(camera, skeleton->nodes[node].worldPosition); }
};
} // namespace

TEST_F(Scene, AxesAre50PixelsLongAtAnyZoom)
{
    options.showAxes = true;
    camera.PanX = camera.PanY = 100.0f;
    const PixelPoint tips[] = {{150, 100}, {100, 100}, {100, 50}}; // Y points away
    for (float zoom : {0.2f, 6.0f, 90.0f}) {
        camera.ViewScale = zoom;
        Draw();
        auto axes = canvas.Drawn(CanvasCallKind::Line, Palette::Yellow);
        auto labels = canvas.Drawn(CanvasCallKind::Text, Palette::Red);
        ASSERT_EQ(axes.size(), 3u);
        ASSERT_EQ(labels.size(), 3u);
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(axes[i].points[0], (PixelPoint{100, 100})) << zoom;
            EXPECT_EQ(axes[i].points[1], tips[i]) << zoom;
            EXPECT_EQ(labels[i].points[0], tips[i]);
            EXPECT_EQ(labels[i].text, std::string(1, char('X' + i)));
        }
    }
}

TEST_F(Scene, ContactsFiveMarkTheLeftHeelAndBall)
{
    options.showContactPoints = true;
    camera.ViewMatrix = MatrixIdentity; // from above, where heel and ball stand apart
    Draw(ContactLeftFootHeel | ContactLeftFootBall);
    auto circles = canvas.Drawn(CanvasCallKind::Circle, Palette::Red);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].points[0], At(NodeLeftFootHeel));
    EXPECT_EQ(circles[1].points[0], At(NodeLeftFootBall));
}

// Render type 0 draws all but the body; the body covers every marker and
// only the 50 name texts cover it.
TEST_F(Scene, RenderTypeChoosesTheBodyOverTheMarkersAndUnderTheNames)
{
    options = {true, true, true, true, true, true, RenderNothing};
    const struct {
        int renderType;
        bool solid;
        size_t wireLines;
    } cases[] = {{RenderNothing, false, 0}, {RenderWireframe, false, 24}, {RenderSolid, true, 0}};
    for (const auto& c : cases) {
        options.renderType = c.renderType;
        Draw(ContactLeftFootHeel);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Circle).size(), 4u + 25 + 1) << "feet, nodes";
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line, Palette::Black).size(), 82u) << "grid";
        size_t triangles = canvas.Drawn(CanvasCallKind::Triangle).size();
        EXPECT_EQ(triangles > 0, c.solid) << c.renderType;
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line, Palette::White).size(), c.wireLines);
        auto body = std::find_if(canvas.calls.begin(), canvas.calls.end(), [](const auto& call) {
            return call.kind == CanvasCallKind::Triangle || call.color == Palette::Grey;
        });
        size_t bodyCalls = triangles + 2 * c.wireLines;
        size_t afterBody = bodyCalls ? bodyCalls + 50 : 0;
        EXPECT_EQ(size_t(canvas.calls.end() - body), afterBody) << c.renderType;
    }
}

TEST_F(Scene, BonesAreDrawnFarthestFirst)
{
    camera.ViewMatrix = MatrixIdentity; // from above: depth is height
    // Each node as far right as it is high, in an order unlike the table's.
    for (int i = 0; i < 25; i++)
        skeleton->nodes[i].worldPosition = Vector(float(i * 7 % 25), 0.0f, float(i * 7 % 25));
    options.renderType = RenderWireframe;
    Draw();
    auto bones = canvas.Drawn(CanvasCallKind::Line, Palette::Grey);
    ASSERT_EQ(bones.size(), 24u);
    for (size_t i = 1; i < bones.size(); i++)
        EXPECT_LE(bones[i - 1].points[0].x + bones[i - 1].points[1].x,
                  bones[i].points[0].x + bones[i].points[1].x);
}

TEST(SolidFace, GreyFollowsItsTurnTowardTheViewer)
{
    const Matrix sixty = Matrix::RotX(1.0471976f);
    const Vector x = VectorXAxis, z = VectorZAxis;
    const struct {
        Vector b, c;
        int grey; // -1: not drawn
    } cases[] = {{x, z, 255}, {sixty * x, sixty * z, 127}, {z, x, -1}, {x, x * 2.0f, -1}};
    for (const auto& c : cases) {
        RecordingCanvas canvas;
        DrawShadedFace(canvas, Camera(), VectorZero, c.b, c.c); // the camera looks along +Y
        auto drawn = canvas.Drawn(CanvasCallKind::Triangle);
        ASSERT_EQ(drawn.size(), c.grey < 0 ? 0u : 1u) << c.grey;
        for (const CanvasCall& triangle : drawn)
            EXPECT_EQ(triangle.fill.red, c.grey);
    }
}

// Whichever way a bone points, its ring stands an eighth of the way along it,
// at a distance of an eighth of its length from the bone's line.
TEST(SolidBone, RingStandsAnEighthAlongTheBoneInEveryDirection)
{
    const Vector start(1.0f, 2.0f, 3.0f);
    const Matrix turned = Matrix::RotYXZ(0.3f, -0.5f, 1.1f);
    const Vector offsets[] = {{8, 0, 0}, {-8, 0, 0}, {0, 8, 0},  {0, -8, 0},
                              {0, 0, 8}, {0, 0, -8}, {3, -4, 5}, {-2, 0, 7}};
    for (const Matrix& parent : {MatrixIdentity, turned}) {
        for (Vector offset : offsets) {
            Vector ring[3];
            ASSERT_TRUE(PlaceBoneRing(start, parent, offset, ring));
            Vector along = parent * offset / offset.Length();
            float eighth = offset.Length() / 8.0f;
            Vector middle = (ring[0] + ring[1] + ring[2]) / 3.0f;
            EXPECT_NEAR((middle - start).Dot(along), eighth, 1e-4f);
            EXPECT_NEAR((middle - start - along * eighth).Length(), 0.0f, 1e-4f);
            for (Vector corner : ring)
                EXPECT_NEAR((corner - middle).Length(), eighth, 1e-4f);
        }
    }
    Vector ring[3];
    EXPECT_FALSE(PlaceBoneRing(start, MatrixIdentity, VectorZero, ring));
}
