// The camera: projection and its rounding, fitting, Zero View and the drags.
#include "render/camera.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/vector_matchers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
MouseEvent At(int x, int y, bool left, bool right, bool shift = false)
{
    return {.screenX = x,
            .screenY = y,
            .leftHeld = left,
            .rightHeld = right,
            .shift = shift,
            .screenWidth = 1000,
            .screenHeight = 800,
            .clientOriginX = 100,
            .clientOriginY = 50};
}

// Off its defaults, so that a drag ignoring the press's camera shows.
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
    Camera camera;
    camera.ViewScale = 1.0f;
    camera.ViewWidth = 101;
    camera.ViewHeight = 51;
    const std::pair<float, int> cases[] = {{-2.7f, -2}, {-2.5f, -2}, {-2.0f, -1},
                                           {-0.7f, 0},  {2.4f, 2},   {2.5f, 3}};
    for (auto [value, rounded] : cases) // value rightward, and downward
        EXPECT_EQ(ProjectPoint(camera, Vector(value, 0.0f, -value)),
                  (PixelPoint{rounded + 50, rounded + 25}))
            << value;
}

TEST(CameraProjection, DefaultViewShowsTheRestPoseUprightFromTheFront)
{
    OwnedSkeleton skeleton;
    VarnelApplyFrame(skeleton.get(), &skeleton->frames[0], 0, 0);
    Camera camera;
    auto at = [&](int node) { return ProjectPoint(camera, skeleton->nodes[node].worldPosition); };
    auto depth = [&](int node) { return DepthOf(camera, skeleton->nodes[node].worldPosition); };
    EXPECT_LT(at(NodeTopOfHead).y, at(NodeLeftFootHeel).y);
    EXPECT_GT(at(NodeLeftHand).x, at(NodeRightHand).x) << "its left on the screen's right";
    EXPECT_GT(depth(NodeLeftFootBall), depth(NodeLeftFootHeel)) << "toes toward the viewer";
}

TEST(CameraFit, FillsTheTighterSpanFitsAFlatBoxByTheOtherAndZeroViewUndoesIt)
{
    const struct {
        float minU, minW, maxU, maxW, scale;
    } cases[] = {{-10, -40, 10, 0, 600 * 0.85f / 40},
                 {0, -70, 0, 0, 600 * 0.85f / 70}, // in one vertical plane
                 {3, 4, 3, 4, 1}};
    for (const auto& c : cases) {
        Camera camera;
        FitView(camera, 800, 600, c.minU, c.minW, c.maxU, c.maxW);
        EXPECT_FLOAT_EQ(camera.ViewScale, c.scale) << c.minW;
        EXPECT_FLOAT_EQ(camera.PanX, -(c.minU + c.maxU) * 0.5f * c.scale);
        EXPECT_FLOAT_EQ(camera.PanY, -(c.minW + c.maxW) * 0.5f * c.scale);
        ZeroView(camera);
        EXPECT_TRUE(SameView(camera, Camera()));
    }
}

TEST(CameraDrag, EachModeMovesItsPartOfTheCameraFromThePress)
{
    // The projected origin: rounded pan (-20 rounds to -19), half the view,
    // client origin.
    const int x = 10 + 200 + 100, y = -19 + 150 + 50;
    const struct {
        MouseEvent press, move;
        Matrix turn; // before the press's rotation
        float scale;
    } cases[] = {
        // A screen width of tumble is 8 radians.
        {At(600, 400, true, false), At(1600, 400, true, false), Matrix::RotY(8.0f), 6},
        // Spin a quarter turn clockwise around the origin.
        {At(x + 100, y, false, true), At(x, y + 100, false, true), Matrix::RotZ(-1.5707964f), 6},
        // A screen height of upward zoom is 9 times; zoom stops at 0.1.
        {At(600, 800, false, true, true), At(600, 0, false, true, true), MatrixIdentity, 54},
        {At(600, 400, false, true, true), At(600, 499, false, true, true), MatrixIdentity, 0.1f},
    };
    for (const auto& c : cases) {
        Camera camera = StartCamera();
        BeginDrag(camera, c.press);
        EXPECT_TRUE(DragTo(camera, c.move));
        EXPECT_MATRIX_NEAR(camera.ViewMatrix, c.turn * StartCamera().ViewMatrix, 2e-6f);
        EXPECT_FLOAT_EQ(camera.ViewScale, c.scale);
    }
}

TEST(CameraDrag, ReleasingEitherButtonEndsTheDragAndLaterMovesChangeNothing)
{
    Camera camera = StartCamera();
    BeginDrag(camera, At(0, 0, true, false));
    BeginDrag(camera, At(50, 50, true, true)); // the running drag keeps its start
    ASSERT_TRUE(DragTo(camera, At(10, 0, true, true)));
    EXPECT_MATRIX_NEAR(camera.ViewMatrix, Matrix::RotY(0.08f) * StartCamera().ViewMatrix, 1e-6f);
    EndDrag(camera); // the right button, the left still held
    const Camera released = camera;
    EXPECT_FALSE(DragTo(camera, At(200, 100, true, false)));
    EXPECT_TRUE(SameView(camera, released));
}

TEST(CameraDrag, ReturningToThePressRestoresTheCameraExactly)
{
    // Left, right, Shift: tumble, spin, pan, zoom.
    const bool modes[][3] = {{1, 0, 0}, {0, 1, 0}, {1, 0, 1}, {0, 1, 1}};
    for (const auto& m : modes) {
        Camera camera = StartCamera();
        BeginDrag(camera, At(500, 300, m[0], m[1], m[2]));
        EXPECT_FALSE(DragTo(camera, At(500, 300, m[0], m[1], m[2]))) << "no motion, no repaint";
        DragTo(camera, At(700, 100, m[0], m[1], m[2]));
        DragTo(camera, At(430, 420, m[0], m[1], m[2]));
        EXPECT_TRUE(DragTo(camera, At(500, 300, m[0], m[1], m[2])));
        EXPECT_TRUE(SameView(camera, StartCamera())) << m[0] << m[1] << m[2];
    }
}
