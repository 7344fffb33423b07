// The floor grid: cells of 50 pixels at any zoom, and stairs drawn as treads.
#include "render/floor_grid.h"
#include "tests/support/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

TEST(FloorGrid, LevelFloorIs41LinesEachWay50PixelsApartAtAnyZoom)
{
    Camera camera;
    camera.ViewMatrix = MatrixIdentity;  // from above
    camera.PanX = camera.PanY = 2000.0f; // the whole grid at positive pixels
    VarnelSetFloor(FloorGeometry{});
    for (float zoom : {0.37f, 6.0f, 55.0f}) {
        camera.ViewScale = zoom;
        RecordingCanvas canvas;
        DrawFloorGrid(canvas, camera, FloorGeometry{});
        std::vector<int> rows, columns;
        for (const CanvasCall& line : canvas.Drawn(CanvasCallKind::Line)) {
            PixelPoint from = line.points[0], to = line.points[1];
            bool across = from.y == to.y;
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

// Seen from the side across the slope every line is level, at the height of
// the floor under its middle: nothing climbs a riser.
TEST(FloorGrid, ClampedStairsAreDrawnAsTreadsOnly)
{
    const FloorGeometry stairs = {0.5f, 0.0f, 0.0f, 0.0f, 20.0f, 1, 4};
    VarnelSetFloor(stairs);
    Camera camera;
    RecordingCanvas canvas;
    DrawFloorGrid(canvas, camera, stairs);
    std::set<int> heights;
    for (const CanvasCall& line : canvas.Drawn(CanvasCallKind::Line)) {
        PixelPoint from = line.points[0], to = line.points[1];
        ASSERT_EQ(from.y, to.y) << "a riser at x " << from.x;
        if (from == to)
            continue; // a level line seen end on
        float middleX = float(from.x + to.x) * 0.5f / camera.ViewScale;
        Vector floor(middleX, 0.0f, VarnelFloorHeight(middleX, 0.0f));
        EXPECT_EQ(from.y, ProjectPoint(camera, floor).y) << "off the floor at x " << from.x;
        heights.insert(from.y);
    }
    EXPECT_EQ(heights.size(), 5u) << "four treads and the top plateau";
    EXPECT_EQ(canvas.calls.size(), 41u * 7) << "level lines, two plateaus, four treads";

    // A million stairs: only the treads within the grid are drawn.
    const FloorGeometry manyStairs = {0.5f, 0.0f, 0.0f, 0.0f, 20.0f, 1, 1000000};
    VarnelSetFloor(manyStairs);
    canvas.calls.clear();
    DrawFloorGrid(canvas, camera, manyStairs);
    EXPECT_LE(canvas.calls.size(), 41u * 45);
    VarnelSetFloor(FloorGeometry{});
}
