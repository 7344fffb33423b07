// The scene over the rest pose: axes, markers, body and shading, and the raw
// channel table.
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
        camera.ViewWidth = 800;
        camera.ViewHeight = 600;
    }

    void Draw(uint32_t contacts = 0)
    {
        canvas.calls.clear();
        DrawScene(canvas, camera, skeleton.skeleton, contacts, FloorGeometry{}, options);
    }

    PixelPoint At(int node) { return ProjectPoint(camera, skeleton->nodes[node].worldPosition); }
};

std::vector<PixelPoint> Centres(const std::vector<CanvasCall>& circles)
{
    std::vector<PixelPoint> centres;
    for (const CanvasCall& circle : circles) {
        EXPECT_EQ(circle.radius, 6);
        centres.push_back(circle.points[0]);
    }
    return centres;
}

bool IsBody(const CanvasCall& call)
{
    return call.kind == CanvasCallKind::Triangle ||
           (call.kind == CanvasCallKind::Line && call.color == Palette::Grey);
}
} // namespace

TEST_F(Scene, AxesAre50PixelsLongAtAnyZoom)
{
    options.showAxes = true;
    camera.PanX = camera.PanY = 100.0f;
    const PixelPoint origin = {500, 400};
    const PixelPoint tips[] = {{550, 400}, origin, {500, 350}}; // Y points away from the viewer
    for (float zoom : {0.2f, 6.0f, 90.0f}) {
        camera.ViewScale = zoom;
        Draw();
        auto axes = canvas.Drawn(CanvasCallKind::Line, Palette::Yellow);
        auto labels = canvas.Drawn(CanvasCallKind::Text, Palette::Red);
        ASSERT_EQ(axes.size(), 3u);
        ASSERT_EQ(labels.size(), 3u);
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(axes[i].points[0], origin) << zoom;
            EXPECT_EQ(axes[i].points[1], tips[i]) << zoom;
            EXPECT_EQ(labels[i].points[0], tips[i]) << zoom;
            EXPECT_EQ(labels[i].text, std::string(1, char('X' + i)));
        }
    }
}

TEST_F(Scene, ContactBitsMarkTheirFootPointsInRed)
{
    options.showContactPoints = true;
    camera.ViewMatrix = MatrixIdentity; // from above, where heel and ball stand apart
    const struct {
        uint32_t contacts;
        std::vector<int> nodes;
    } cases[] = {
        {0, {}},
        {5, {NodeLeftFootHeel, NodeLeftFootBall}},
        {10, {NodeRightFootHeel, NodeRightFootBall}},
        {15, {NodeLeftFootHeel, NodeRightFootHeel, NodeLeftFootBall, NodeRightFootBall}},
    };
    for (const auto& c : cases) {
        Draw(c.contacts);
        std::vector<PixelPoint> expected;
        for (int node : c.nodes)
            expected.push_back(At(node));
        EXPECT_EQ(Centres(canvas.Drawn(CanvasCallKind::Circle, Palette::Red)), expected)
            << c.contacts;
    }
}

// The markers never hide the body's place in the order: body over markers,
// names over the body, and render type 0 draws everything but the body.
TEST_F(Scene, RenderTypeChoosesTheBodyOverTheMarkersAndUnderTheNames)
{
    options = {true, true, true, true, true, true, RenderNothing};
    const struct {
        int renderType;
        bool triangles;
        size_t wireLines;
    } cases[] = {{RenderNothing, false, 0}, {RenderWireframe, false, 24}, {RenderSolid, true, 0}};
    for (const auto& c : cases) {
        options.renderType = c.renderType;
        Draw(ContactLeftFootHeel);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line, Palette::Black).size(), 82u);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line, Palette::Yellow).size(), 3u);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Circle, Palette::Blue).size(), 4u);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Circle, Palette::Green).size(), 25u);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Circle, Palette::Red).size(), 1u);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Text, Palette::Green).size(), 25u);
        auto triangles = canvas.Drawn(CanvasCallKind::Triangle);
        EXPECT_EQ(!triangles.empty(), c.triangles) << c.renderType;
        for (const CanvasCall& triangle : triangles)
            EXPECT_EQ(triangle.penWidth, 1);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line, Palette::Grey).size(), c.wireLines);
        EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line, Palette::White).size(), c.wireLines);
        size_t bodyCalls = triangles.size() + 2 * c.wireLines;
        size_t firstBodyCall =
            std::find_if(canvas.calls.begin(), canvas.calls.end(), IsBody) - canvas.calls.begin();
        if (bodyCalls > 0) {
            EXPECT_EQ(firstBodyCall, canvas.calls.size() - 50 - bodyCalls)
                << "the body follows every marker, and only the 50 names follow it";
        }
    }
}

TEST_F(Scene, BonesAreDrawnFarthestFirst)
{
    // From above: depth is height. Each node stands as far right as it is
    // high, in an order unlike the node table's.
    camera.ViewMatrix = MatrixIdentity;
    camera.PanX = 500.0f;
    camera.ViewScale = 1.0f;
    for (int i = 0; i < 25; i++) {
        float height = float(i * 7 % 25);
        skeleton->nodes[i].worldPosition = Vector(height, 0.0f, height);
    }
    options.renderType = RenderWireframe;
    Draw();
    auto bones = canvas.Drawn(CanvasCallKind::Line, Palette::Grey);
    ASSERT_EQ(bones.size(), 24u);
    for (size_t i = 1; i < bones.size(); i++)
        EXPECT_LE(bones[i - 1].points[0].x + bones[i - 1].points[1].x,
                  bones[i].points[0].x + bones[i].points[1].x)
            << "bone " << i;
}

TEST(SolidFace, GreyFollowsItsTurnTowardTheViewer)
{
    Camera camera; // looks along +Y: a face with normal -Y faces it
    const Matrix sixtyDegrees = Matrix::RotX(1.0471976f);
    const Vector a = VectorZero, x = VectorXAxis, z = VectorZAxis;
    const struct {
        const char* face;
        Vector b, c;
        int grey; // -1: not drawn
    } cases[] = {
        {"square to the viewer", x, z, 255},
        {"turned 60 degrees", sixtyDegrees * x, sixtyDegrees * z, 127},
        {"turned away", z, x, -1},
        {"without area", x, x * 2.0f, -1},
    };
    for (const auto& c : cases) {
        RecordingCanvas canvas;
        DrawShadedFace(canvas, camera, a, c.b, c.c);
        auto drawn = canvas.Drawn(CanvasCallKind::Triangle);
        if (c.grey < 0) {
            EXPECT_TRUE(drawn.empty()) << c.face;
            continue;
        }
        ASSERT_EQ(drawn.size(), 1u) << c.face;
        auto grey = uint8_t(c.grey);
        EXPECT_EQ(drawn[0].fill, (Color{grey, grey, grey})) << c.face;
        EXPECT_EQ(drawn[0].points[1], ProjectPoint(camera, c.b)) << c.face;
    }
}

TEST(RawChannels, EightRowsOfSixNumbersInAlternateColours)
{
    uint16_t channels[48];
    for (int i = 0; i < 48; i++)
        channels[i] = uint16_t(i * 100 + 7);
    RecordingCanvas canvas;
    DrawRawChannels(canvas, channels);
    auto texts = canvas.Drawn(CanvasCallKind::Text);
    ASSERT_EQ(texts.size(), 48u);
    const struct {
        const char* text;
        PixelPoint at;
        Color color;
    } cells[] = {{"00: 0007", {10, 20}, Palette::Black},
                 {"09: 0907", {110, 40}, Palette::White},
                 {"47: 4707", {510, 160}, Palette::White}};
    for (const auto& cell : cells) {
        auto found = std::find_if(texts.begin(), texts.end(),
                                  [&](const CanvasCall& t) { return t.text == cell.text; });
        ASSERT_NE(found, texts.end()) << cell.text;
        EXPECT_EQ(found->points[0], cell.at) << cell.text;
        EXPECT_EQ(found->color, cell.color) << cell.text;
    }
}
