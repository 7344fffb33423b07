#include "skeleton/pose.h"

#include "common/units.h"

#include <initializer_list>

namespace {
// channels is null when every angle counts as zero.
void PoseNode(SkeletonNode* node, Vector parentPosition, const Matrix& parentRotation,
              const float* channels)
{
    node->worldPosition = parentPosition + parentRotation * node->offset;
    if (channels && node->hasChannels) {
        const int32_t* index = node->channelIndex;
        node->worldRotation =
            parentRotation * Matrix::RotYXZ(channels[index[0]] * DegreesToRadians,
                                            channels[index[1]] * DegreesToRadians,
                                            channels[index[2]] * DegreesToRadians);
    } else {
        node->worldRotation = parentRotation;
    }
}

void PoseSubtree(SkeletonNode* node, Vector parentPosition, const Matrix& parentRotation,
                 const float* channels)
{
    PoseNode(node, parentPosition, parentRotation, channels);
    for (int i = 0; i < node->numChildren; i++)
        PoseSubtree(node->children[i], node->worldPosition, node->worldRotation, channels);
}

Vector RootPosition(const SkeletonFrame* frame)
{
    const float* hips = frame->channels + HipsPositionChannel;
    return Vector(hips[0], hips[1], hips[2]);
}
} // namespace

void VarnelApplyFrame(Skeleton* skeleton, const SkeletonFrame* frame, int zeroPosition,
                      int zeroAngles)
{
    Vector root = zeroPosition ? VectorZero : RootPosition(frame);
    PoseSubtree(&skeleton->nodes[NodeHips], root, Matrix::Identity,
                zeroAngles ? nullptr : frame->channels);
}

void PoseLegs(Skeleton* skeleton, const SkeletonFrame* frame)
{
    SkeletonNode* hips = &skeleton->nodes[NodeHips];
    PoseNode(hips, RootPosition(frame), Matrix::Identity, frame->channels);
    for (int leg : {NodeLeftHip, NodeRightHip})
        PoseSubtree(&skeleton->nodes[leg], hips->worldPosition, hips->worldRotation,
                    frame->channels);
}
