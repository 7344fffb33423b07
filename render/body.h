// The skeleton's bones, far ones first so near ones cover them: solid (two
// flat-shaded three-sided pyramids base to base per bone) or as a wireframe
// (a grey line under a thinner white one).
#pragma once

#include "render/camera.h"
#include "render/canvas.h"
#include "varnel.h"

// renderType is RenderWireframe or RenderSolid.
void DrawBody(Canvas& canvas, const Camera& camera, const Skeleton& skeleton, int renderType);

// The three corners that a solid bone's two pyramids share: a ring of
// radius length/8 around the bone, an eighth of the way along it from start,
// for a bone whose child lies at offset in the axes of parentRotation. False
// for a bone without length.
bool PlaceBoneRing(Vector start, const Matrix& parentRotation, Vector offset, Vector ring[3]);

// One triangle of a solid bone, grey by how squarely it faces the viewer;
// nothing when it faces away. The order of the corners tells its front:
// the side of (b - a) x (c - a).
void DrawShadedFace(Canvas& canvas, const Camera& camera, Vector a, Vector b, Vector c);
