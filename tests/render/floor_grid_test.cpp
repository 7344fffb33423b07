// The floor grid: cells of 50 pixels at any zoom, and stairs drawn as
// treads.
#include "render/floor_grid.h"
#include "render/palette.h"
#include "tests/support/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {
struct FloorGrid : testing::Test {
    RecordingCanvas canvas;
    Camera camera;

    FloorGrid()
    {
        camera.ViewWidth = 800;
        camera.ViewHeight = 600;
    }
    ~FloorGrid() override { VarnelSetFloor(FloorGeometry{}); }

    void Draw(const FloorGeometry& floor)
    {
        VarnelSetFloor(floor);
        canvas.calls.clear();
        DrawFloorGrid(canvas, camera, floor);
    }
};

bool Level(const CanvasCall& line)
{
    return line.points[0].y == line.points[1].y;
}
} // namespace

TEST_F(FloorGrid, LevelFloorIs41LinesEachWay50PixelsApartAtAnyZoom)
{
    camera.ViewMatrix = MatrixIdentity;  // from above, world Y up the screen
    camera.PanX = camera.PanY = 2000.0f; // the whole grid at positive pixels
    for (float zoom : {0.37f, 6.0f, 55.0f}) {
        camera.ViewScale = zoom;
        Draw(FloorGeometry{});
        std::vector<int> rows, columns;
        for (const CanvasCall& line : canvas.Drawn(CanvasCallKind::Line, Palette::Black)) {
            ASSERT_EQ(line.penWidth, 2);
            bool across = Level(line);
            const PixelPoint& from = line.points[0];
            const PixelPoint& to = line.points[1];
            EXPECT_EQ(across ? std::abs(to.x - from.x) : std::abs(to.y - from.y), 2000) << zoom;
            (across ? rows : columns).push_back(across ? from.y : from.x);
        }
        for (std::vector<int>* lines : {&rows, &columns}) {
            ASSERT_EQ(lines->size(), 41u) << zoom;
            std::sort(lines->begin(), lines->end());
            for (size_t i = 1; i < lines->size(); i++)
                EXPECT_EQ((*lines)[i] - (*lines)[i - 1], 50) << zoom;
        }
    }
}

// Seen from the side across the slope, the treads and plateaus are level
// lines, each at the height of the floor under its middle, and nothing climbs
// a riser.
TEST_F(FloorGrid, ClampedStairsAreDrawnAsTreadsOnly)
{
    const FloorGeometry stairs = {0.5f, 0.0f, 0.0f, 0.0f, 20.0f, 1, 4};
    Draw(stairs);
    std::set<int> heights;
    for (const CanvasCall& line : canvas.Drawn(CanvasCallKind::Line)) {
        const PixelPoint& from = line.points[0];
        const PixelPoint& to = line.points[1];
        ASSERT_EQ(from.y, to.y) << "a riser from " << testing::PrintToString(from);
        if (from == to)
            continue; // a level line seen end on
        float middleX = (float(from.x + to.x) * 0.5f - 400.0f) / camera.ViewScale;
        float floorHeight = VarnelFloorHeight(middleX, 0.0f);
        EXPECT_EQ(from.y, ProjectPoint(camera, Vector(middleX, 0.0f, floorHeight)).y)
            << "a line from " << testing::PrintToString(from) << " to "
            << testing::PrintToString(to) << " is off the floor at " << floorHeight;
        heights.insert(from.y);
    }
    EXPECT_EQ(heights.size(), 5u) << "the four treads and the top plateau";
    // 41 each: level lines, both plateaus, and each of the four treads.
    EXPECT_EQ(canvas.Drawn(CanvasCallKind::Line).size(), 41u * 7);
}
