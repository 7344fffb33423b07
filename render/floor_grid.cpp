#include "render/floor_grid.h"

#include "render/palette.h"

#include <algorithm>
#include <cmath>

namespace {
// Lines run from -20 to 20 cells each way.
constexpr int HalfLines = 20;
constexpr float CellPixels = 50.0f;

// The grid's frame in the floor plane: one cell per unit of across and up.
struct GridLayout {
    Vector origin;
    Vector across; // along the level lines
    Vector up;     // up the slope, in the plane
    // Fitted to the clamp range: the slope runs from the origin (at min) to
    // slopeCells (at max) in stairs of cellsPerStair cells, with plateaus
    // beyond.
    bool fitted = false;
    float cellsPerStair = 1.0f;
    float slopeCells = HalfLines;
    int stairs = 0;
};

void OrientOnSlope(GridLayout& grid, const FloorGeometry& floor)
{
    float s = floor.dzdx * floor.dzdx + floor.dzdy * floor.dzdy;
    if (s == 0.0f) {
        grid.across = VectorXAxis;
        grid.up = VectorYAxis;
        return;
    }
    grid.across = Vector(floor.dzdy, -floor.dzdx, 0.0f) / std::sqrt(s);
    grid.up = Vector(floor.dzdx, floor.dzdy, s) / std::sqrt(s * (s + 1.0f));
}

void ScaleCells(GridLayout& grid, float factor)
{
    grid.across = grid.across * factor;
    grid.up = grid.up * factor;
}

// Moves the origin to where the plane meets min and stretches the cells so
// that each stair (or the whole slope) spans a whole number of them. A range
// without a whole cell (max not above min) stays unfitted.
void FitToClampRange(GridLayout& grid, const FloorGeometry& floor)
{
    if (!floor.clamp || grid.up.z == 0.0f)
        return;
    Vector origin = grid.origin + grid.up * ((floor.min - floor.z0) / grid.up.z);
    float cells = (floor.max - origin.z) / grid.up.z;
    if (floor.NumSteps > 0)
        cells /= float(floor.NumSteps);
    float wholeCells = std::ceil(cells);
    if (!(wholeCells > 0.0f) || !std::isfinite(wholeCells))
        return;
    grid.origin = origin;
    ScaleCells(grid, cells / wholeCells);
    grid.fitted = true;
    grid.cellsPerStair = wholeCells;
    grid.stairs = std::max(floor.NumSteps, 1);
    grid.slopeCells = wholeCells * float(grid.stairs);
}

GridLayout LayOutGrid(const Camera& camera, const FloorGeometry& floor)
{
    GridLayout grid;
    grid.origin = Vector(0.0f, 0.0f, floor.z0);
    OrientOnSlope(grid, floor);
    if (camera.ViewScale != 0.0f)
        ScaleCells(grid, CellPixels / camera.ViewScale);
    FitToClampRange(grid, floor);
    return grid;
}

Vector AtHeight(Vector point, float height)
{
    return Vector(point.x, point.y, height);
}

Vector OnFloor(Vector point)
{
    return AtHeight(point, VarnelFloorHeight(point.x, point.y));
}

void Segment(Canvas& canvas, const Camera& camera, Vector from, Vector to)
{
    canvas.Line(ProjectPoint(camera, from), ProjectPoint(camera, to));
}

// The level lines, each at the floor height of its middle.
void DrawLinesAcross(Canvas& canvas, const Camera& camera, const GridLayout& grid)
{
    Vector halfLength = grid.across * float(HalfLines);
    for (int i = -HalfLines; i <= HalfLines; i++) {
        Vector middle = grid.origin + grid.up * float(i);
        float height = VarnelFloorHeight(middle.x, middle.y);
        Segment(canvas, camera, AtHeight(middle - halfLength, height),
                AtHeight(middle + halfLength, height));
    }
}

void DrawPlateaus(Canvas& canvas, const Camera& camera, const GridLayout& grid,
                  const FloorGeometry& floor)
{
    for (int j = -HalfLines; j <= HalfLines; j++) {
        Vector base = grid.origin + grid.across * float(j);
        Segment(canvas, camera, AtHeight(base - grid.up * float(HalfLines), floor.min),
                AtHeight(base, floor.min));
        if (grid.slopeCells < HalfLines)
            Segment(canvas, camera, AtHeight(base + grid.up * grid.slopeCells, floor.max),
                    AtHeight(base + grid.up * float(HalfLines), floor.max));
    }
}

// Lines up a slope without steps, ends on the floor: on its plane where the
// floor is one.
void DrawLinesUp(Canvas& canvas, const Camera& camera, const GridLayout& grid, float from, float to)
{
    for (int j = -HalfLines; j <= HalfLines; j++) {
        Vector base = grid.origin + grid.across * float(j);
        Segment(canvas, camera, OnFloor(base + grid.up * from), OnFloor(base + grid.up * to));
    }
}

// Lines up a stepped slope, one level tread at a time at its stair's height,
// so no line runs up a riser.
void DrawTreads(Canvas& canvas, const Camera& camera, const GridLayout& grid, float from,
                float cellsPerTread, int treads)
{
    for (int j = -HalfLines; j <= HalfLines; j++) {
        Vector base = grid.origin + grid.across * float(j);
        for (int k = 0; k < treads; k++) {
            Vector low = base + grid.up * (from + float(k) * cellsPerTread);
            Vector high = base + grid.up * (from + float(k + 1) * cellsPerTread);
            Vector middle = (low + high) * 0.5f;
            float height = VarnelFloorHeight(middle.x, middle.y);
            Segment(canvas, camera, AtHeight(low, height), AtHeight(high, height));
        }
    }
}
} // namespace

void DrawFloorGrid(Canvas& canvas, const Camera& camera, const FloorGeometry& floor)
{
    GridLayout grid = LayOutGrid(camera, floor);
    canvas.SetPen(Palette::Black, 2);
    DrawLinesAcross(canvas, camera, grid);
    if (grid.fitted)
        DrawPlateaus(canvas, camera, grid, floor);
    if (floor.NumSteps == 0) {
        if (grid.fitted)
            DrawLinesUp(canvas, camera, grid, 0.0f, grid.slopeCells);
        else
            DrawLinesUp(canvas, camera, grid, -HalfLines, HalfLines);
    } else if (grid.fitted) {
        // Treads past the grid's far edge would only cost time: a million
        // stairs must not stall the window.
        int visibleStairs = int(std::ceil(float(HalfLines) / grid.cellsPerStair));
        DrawTreads(canvas, camera, grid, 0.0f, grid.cellsPerStair,
                   std::min(grid.stairs, visibleStairs));
    } else {
        // Not fitted to the stairs: cell by cell, each at the floor's own step.
        DrawTreads(canvas, camera, grid, -HalfLines, 1.0f, 2 * HalfLines);
    }
}
