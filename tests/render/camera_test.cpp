// The camera: projection and its rounding, fitting, Zero View and the drags.
#include "render/camera.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/vector_matchers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr int ScreenWidth = 1000, ScreenHeight = 800;

MouseEvent At(int x, int y, bool left, bool right, bool shift = false, bool control = false)
{
    MouseEvent event;
    event.screenX = x;
    event.screenY = y;
    event.leftHeld = left;
    event.rightHeld = right;
    event.shift = shift;
    event.control = control;
    event.screenWidth = ScreenWidth;
    event.screenHeight = ScreenHeight;
    event.clientOriginX = 100;
    event.clientOriginY = 50;
    return event;
}

// A view off its defaults, so that a drag that ignored the press's camera
// shows.
Camera StartCamera()
{
    Camera camera;
    camera.ViewWidth = 400;
    camera.ViewHeight = 300;
    camera.ViewMatrix = Matrix::RotYXZ(0.3f, -0.2f, 0.1f) * DefaultViewMatrix;
    camera.PanX = 10.0f;
    camera.PanY = -20.0f;
    return camera;
}

bool SameView(const Camera& a, const Camera& b)
{
    return std::memcmp(&a.ViewMatrix, &b.ViewMatrix, sizeof(Matrix)) == 0 && a.PanX == b.PanX &&
           a.PanY == b.PanY && a.ViewScale == b.ViewScale;
}
} // namespace

TEST(CameraProjection, RoundsHalfUpTruncatingTowardZeroAndHalvesTheViewSize)
{
    const struct {
        float value;
        int rounded;
    } cases[] = {{-2.7f, -2}, {-2.5f, -2}, {-2.0f, -1}, {-0.7f, 0},
                 {0.4f, 0},   {2.4f, 2},   {2.5f, 3}};
    Camera camera;
    camera.ViewScale = 1.0f;
    camera.ViewWidth = 101; // odd sizes: the half rounds down
    camera.ViewHeight = 51;
    for (const auto& c : cases) {
        // Screen y grows downward: a point below the origin by value.
        PixelPoint point = ProjectPoint(camera, Vector(c.value, 0.0f, -c.value));
        EXPECT_EQ(point, (PixelPoint{c.rounded + 50, c.rounded + 25})) << c.value;
    }
}

// The view at start-up shows the rest pose upright from the front, its left
// side on the screen's right.
TEST(CameraProjection, DefaultViewShowsTheRestPoseUprightFromTheFront)
{
    OwnedSkeleton skeleton;
    VarnelApplyFrame(skeleton.get(), &skeleton->frames[0], 0, 0);
    Camera camera;
    camera.ViewWidth = 800;
    camera.ViewHeight = 600;
    auto at = [&](int node) { return ProjectPoint(camera, skeleton->nodes[node].worldPosition); };
    auto depth = [&](int node) { return DepthOf(camera, skeleton->nodes[node].worldPosition); };

    EXPECT_LT(at(NodeTopOfHead).y, at(NodeHips).y);
    EXPECT_LT(at(NodeHips).y, at(NodeLeftFootHeel).y);
    EXPECT_GT(at(NodeLeftHand).x, at(NodeRightHand).x);
    EXPECT_GT(at(NodeLeftHip).x, 400);
    EXPECT_GT(depth(NodeLeftFootBall), depth(NodeLeftFootHeel)) << "the toes point at the viewer";
}

TEST(CameraFit, FillsTheTighterSpanAndFitsAFlatBoxByTheOther)
{
    const struct {
        const char* box;
        float minU, minW, maxU, maxW;
        float scale, panX, panY;
    } cases[] = {
        {"tall and narrow", -10, -40, 10, 0, 600 * 0.85f / 40, 0, 20 * 600 * 0.85f / 40},
        {"wide and low", -100, -4, 100, 0, 800 * 0.85f / 200, 0, 2 * 800 * 0.85f / 200},
        {"in one vertical plane", 0, -70, 0, 0, 600 * 0.85f / 70, 0, 35 * 600 * 0.85f / 70},
        {"in one horizontal line", -10, 5, 10, 5, 800 * 0.85f / 20, 0, -5 * 800 * 0.85f / 20},
        {"a point", 3, 4, 3, 4, 1, -3, -4},
    };
    for (const auto& c : cases) {
        Camera camera;
        FitView(camera, 800, 600, c.minU, c.minW, c.maxU, c.maxW);
        EXPECT_FLOAT_EQ(camera.ViewScale, c.scale) << c.box;
        EXPECT_FLOAT_EQ(camera.PanX, c.panX) << c.box;
        EXPECT_FLOAT_EQ(camera.PanY, c.panY) << c.box;
        EXPECT_EQ(camera.ViewWidth, 800);
        EXPECT_EQ(camera.ViewHeight, 600);
    }
}

TEST(CameraFit, ZeroViewRestoresTheDefaults)
{
    Camera camera = StartCamera();
    FitView(camera, 640, 480, -5, -60, 5, 0);
    ZeroView(camera);
    EXPECT_TRUE(SameView(camera, Camera())) << "rotation, scale and pan";
    EXPECT_EQ(camera.ViewWidth, 640) << "the view keeps its size";
}

TEST(CameraDrag, EachModeMovesItsPartOfTheCameraFromThePress)
{
    const Camera start = StartCamera();
    // The projected origin on the screen: rounded pan (-20 rounds to -19) +
    // half the view + client origin.
    const int centreX = 10 + 200 + 100, centreY = -19 + 150 + 50;
    const struct {
        const char* mode;
        MouseEvent press, move;
        Matrix turn; // before the press's rotation
        float panX, panY, scale;
    } cases[] = {
        {"tumble: a screen width is 8 radians of yaw", At(600, 400, true, false),
         At(600 + ScreenWidth, 400, true, false), Matrix::RotY(8.0f), 10, -20, 6},
        {"tumble: a screen height is 8 radians of pitch", At(600, 400, true, false),
         At(600, 400 + ScreenHeight, true, false), Matrix::RotX(8.0f), 10, -20, 6},
        {"spin: a quarter turn clockwise around the origin",
         At(centreX + 100, centreY, false, true), At(centreX, centreY + 100, false, true),
         Matrix::RotZ(-1.5707964f), 10, -20, 6},
        {"pan by the cursor's travel", At(600, 400, true, false, true),
         At(630, 380, true, false, true), MatrixIdentity, 40, -40, 6},
        {"zoom: a screen height up is 9 times", At(600, 400, false, true, false, true),
         At(600, 400 - ScreenHeight, false, true, false, true), MatrixIdentity, 10, -20, 54},
        {"zoom: down a sixteenth of the height halves", At(600, 400, false, true, true),
         At(600, 400 + ScreenHeight / 16, false, true, true), MatrixIdentity, 10, -20, 3},
        {"zoom: past zero stops at 0.1", At(600, 400, false, true, true),
         At(600, 400 + ScreenHeight, false, true, true), MatrixIdentity, 10, -20, 0.1f},
        {"zoom: just above zero stops at 0.1", At(600, 400, false, true, true),
         At(600, 499, false, true, true), MatrixIdentity, 10, -20, 0.1f},
    };
    for (const auto& c : cases) {
        Camera camera = start;
        BeginDrag(camera, c.press);
        EXPECT_TRUE(DragTo(camera, c.move)) << c.mode;
        EXPECT_MATRIX_NEAR(camera.ViewMatrix, c.turn * start.ViewMatrix, 2e-6f) << c.mode;
        EXPECT_FLOAT_EQ(camera.PanX, c.panX) << c.mode;
        EXPECT_FLOAT_EQ(camera.PanY, c.panY) << c.mode;
        EXPECT_FLOAT_EQ(camera.ViewScale, c.scale) << c.mode;
    }
}

TEST(CameraDrag, ReleasingEitherButtonEndsTheDragAndLaterMovesChangeNothing)
{
    Camera camera = StartCamera();
    BeginDrag(camera, At(0, 0, true, false));
    BeginDrag(camera, At(50, 50, true, true)); // the running drag keeps its start
    ASSERT_TRUE(DragTo(camera, At(10, 0, true, true)));
    EXPECT_MATRIX_NEAR(camera.ViewMatrix,
                       Matrix::RotY(10 * 8.0f / ScreenWidth) * StartCamera().ViewMatrix, 1e-6f);

    EndDrag(camera); // the right button; the left is still held
    const Camera released = camera;
    EXPECT_FALSE(DragTo(camera, At(200, 100, true, false)));
    EXPECT_FALSE(DragTo(camera, At(300, 100, false, true, true)));
    EXPECT_TRUE(SameView(camera, released));
}

// Drags are computed from the press, so coming back undoes them bit for bit.
TEST(CameraDrag, ReturningToThePressRestoresTheCameraExactly)
{
    const struct {
        const char* mode;
        bool left, right, shift;
    } modes[] = {{"tumble", true, false, false},
                 {"spin", false, true, false},
                 {"pan", true, false, true},
                 {"zoom", false, true, true}};
    for (const auto& m : modes) {
        Camera camera = StartCamera();
        const Camera start = camera;
        BeginDrag(camera, At(500, 300, m.left, m.right, m.shift));
        EXPECT_FALSE(DragTo(camera, At(500, 300, m.left, m.right, m.shift)))
            << m.mode << ": a move without motion asks no repaint";
        DragTo(camera, At(700, 100, m.left, m.right, m.shift));
        DragTo(camera, At(430, 420, m.left, m.right, m.shift));
        ASSERT_FALSE(SameView(camera, start)) << m.mode;
        EXPECT_TRUE(DragTo(camera, At(500, 300, m.left, m.right, m.shift))) << m.mode;
        EXPECT_TRUE(SameView(camera, start)) << m.mode;
    }
}
