// The scene renderer: the posed skeleton over the floor grid, with axes,
// foot shadows, node and contact markers, the body solid or as a wireframe,
// and node names; or, instead of the scene, the suit's raw channels as a
// table. Draws through a Canvas; allocates nothing.
#pragma once

#include "render/camera.h"
#include "render/canvas.h"
#include "varnel.h"

#include <cstdint>

enum RenderType : int {
    RenderNothing = 0,
    RenderWireframe = 1,
    RenderSolid = 2,
    RenderRawChannels = 3,
};

struct SceneOptions {
    bool showGrid = true;
    bool showAxes = true;
    bool showFootShadow = true;
    bool showNodes = false;
    bool showContactPoints = true;
    bool showNodeNames = false;
    int renderType = RenderSolid; // RenderNothing, RenderWireframe or RenderSolid here
};

// The scene of a skeleton posed by VarnelApplyFrame (world positions and
// rotations set), contacts being the displayed frame's contact bits. The
// floor is the one the library was given (heights come from
// VarnelFloorHeight); its description shapes the grid.
void DrawScene(Canvas& canvas, const Camera& camera, const Skeleton& skeleton, uint32_t contacts,
               const FloorGeometry& floor, const SceneOptions& options);

// The 48 raw channels as 8 rows of 6 numbers.
void DrawRawChannels(Canvas& canvas, const uint16_t channels[48]);
