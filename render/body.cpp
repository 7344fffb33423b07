#include "render/body.h"

#include "render/palette.h"
#include "render/scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// A tree of 25 nodes has 24 bones.
constexpr int MaxBones = 24;

struct Bone {
    Vector start, end;
    Vector ring[3]; // solid only: the three corners the pyramids share
    float depth;    // of the middle; larger is nearer
};

// A NaN depth (a broken pose) would break the sort's ordering; it counts as
// farthest.
float SortableDepth(float depth)
{
    return std::isnan(depth) ? -std::numeric_limits<float>::infinity() : depth;
}

// The bones in node-table order, then sorted far to near. Returns how many.
int CollectBones(const Skeleton& skeleton, const Camera& camera, bool solid,
                 Bone (&bones)[MaxBones])
{
    int count = 0;
    for (const SkeletonNode& node : skeleton.nodes) {
        for (int k = 0; k < node.numChildren && k < 3 && count < MaxBones; k++) {
            const SkeletonNode& child = *node.children[k];
            Bone& bone = bones[count];
            bone.start = node.worldPosition;
            bone.end = child.worldPosition;
            if (solid && !PlaceBoneRing(bone.start, node.worldRotation, child.offset, bone.ring))
                continue;
            bone.depth = SortableDepth(DepthOf(camera, (bone.start + bone.end) * 0.5f));
            count++;
        }
    }
    std::sort(bones, bones + count, [](const Bone& a, const Bone& b) { return a.depth < b.depth; });
    return count;
}

void DrawSolidBone(Canvas& canvas, const Camera& camera, const Bone& bone)
{
    const Vector* r = bone.ring;
    DrawShadedFace(canvas, camera, bone.start, r[1], r[0]);
    DrawShadedFace(canvas, camera, bone.start, r[2], r[1]);
    DrawShadedFace(canvas, camera, bone.start, r[0], r[2]);
    DrawShadedFace(canvas, camera, bone.end, r[0], r[1]);
    DrawShadedFace(canvas, camera, bone.end, r[1], r[2]);
    DrawShadedFace(canvas, camera, bone.end, r[2], r[0]);
}

void DrawWireBone(Canvas& canvas, const Camera& camera, const Bone& bone)
{
    PixelPoint start = ProjectPoint(camera, bone.start);
    PixelPoint end = ProjectPoint(camera, bone.end);
    canvas.SetPen(Palette::Grey, 4);
    canvas.Line(start, end);
    canvas.SetPen(Palette::White, 2);
    canvas.Line(start, end);
}
} // namespace

bool PlaceBoneRing(Vector start, const Matrix& parentRotation, Vector offset, Vector ring[3])
{
    float length = offset.Length();
    if (length == 0.0f)
        return false;
    Vector direction = offset / length;
    Vector side = direction.x == 0.0f && direction.z == 0.0f
                      ? VectorXAxis
                      : VectorYAxis.Cross(direction).Normalize();
    // The ring's frame has the bone along its third axis; its axes are the
    // columns of the bone-to-parent turn, so the ring stands an eighth of
    // the way along the bone whichever way the bone points.
    Matrix toWorld = parentRotation * Matrix(side, direction.Cross(side), direction).Transpose();
    static const Matrix ThirdTurn = Matrix::RotZ(2.0943952f);
    float width = length / 8.0f;
    Vector corner(0.0f, width, width);
    for (int k = 0; k < 3; k++) {
        ring[k] = start + toWorld * corner;
        corner = ThirdTurn * corner;
    }
    return true;
}

void DrawShadedFace(Canvas& canvas, const Camera& camera, Vector a, Vector b, Vector c)
{
    Vector normal = (b - a).Cross(c - a).Normalize();
    float facing = camera.ViewMatrix.RowZ().Dot(normal);
    if (!(facing > 0.0f))
        return;
    auto grey = uint8_t(std::min(int(facing * 255.0f), 255));
    canvas.Triangle(ProjectPoint(camera, a), ProjectPoint(camera, b), ProjectPoint(camera, c),
                    Color{grey, grey, grey});
}

void DrawBody(Canvas& canvas, const Camera& camera, const Skeleton& skeleton, int renderType)
{
    bool solid = renderType == RenderSolid;
    Bone bones[MaxBones];
    int count = CollectBones(skeleton, camera, solid, bones);
    if (solid) {
        canvas.SetPen(Palette::Black, 1);
        for (int i = 0; i < count; i++)
            DrawSolidBone(canvas, camera, bones[i]);
    } else {
        for (int i = 0; i < count; i++)
            DrawWireBone(canvas, camera, bones[i]);
    }
}
