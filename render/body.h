// The skeleton's bones, far ones first so near ones cover them: solid (two
// flat-shaded three-sided pyramids base to base per bone) or as a wireframe
// (a grey line under a thinner white one).
#pragma once

#include "render/camera.h"
#include "render/canvas.h"
#include "varnel.h"

// renderType is RenderWireframe or RenderSolid.
void DrawBody(Canvas& canvas, const Camera& camera, const Skeleton& skeleton, int renderType);

// One triangle of a solid bone, grey by how squarely it faces the viewer;
// nothing when it faces away. The order of the corners tells its front:
// the side of (b - a) x (c - a).
void DrawShadedFace(Canvas& canvas, const Camera& camera, Vector a, Vector b, Vector c);
