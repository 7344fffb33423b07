// The floor under the skeleton as a grid of 50-pixel cells at any zoom: 41
// lines each way around the world origin, following the slope, and on a
// clamped floor fitted so that whole cells span each stair, with plateaus
// at the clamp heights. Heights come from VarnelFloorHeight.
#pragma once

#include "render/camera.h"
#include "render/canvas.h"
#include "varnel.h"

void DrawFloorGrid(Canvas& canvas, const Camera& camera, const FloorGeometry& floor);
