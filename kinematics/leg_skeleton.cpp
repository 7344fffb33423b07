// Only the legs are linked: the arms, chest and head never touch the floor.
#include "kinematics/leg_skeleton.h"

#include "kinematics/joint_rotation.h"
#include "skeleton/skeleton_table.h"

namespace {

void Link(LegSkeleton& legs, int parent, int child)
{
    SkeletonNode& node = legs.nodes[parent];
    node.children[node.numChildren++] = &legs.nodes[child];
}

} // namespace

void BuildLegSkeleton(LegSkeleton& legs, const ActorData& actor)
{
    legs = LegSkeleton{};
    for (int i = 0; i < VARNEL_NUM_JOINTS; i++)
        SetJointChannels(legs.nodes[i], i);

    Link(legs, NodeHips, NodeLeftHip);
    Link(legs, NodeHips, NodeRightHip);
    Link(legs, NodeLeftHip, NodeLeftKnee);
    Link(legs, NodeLeftKnee, NodeLeftAnkle);
    Link(legs, NodeLeftAnkle, NodeLeftFootHeel);
    Link(legs, NodeLeftFootHeel, NodeLeftFootBall);
    Link(legs, NodeRightHip, NodeRightKnee);
    Link(legs, NodeRightKnee, NodeRightAnkle);
    Link(legs, NodeRightAnkle, NodeRightFootHeel);
    Link(legs, NodeRightFootHeel, NodeRightFootBall);

    const float* bone = actor.bones;
    legs.nodes[NodeLeftHip].offset = Vector(bone[BoneLeftPelvis], 0, 0);
    legs.nodes[NodeRightHip].offset = Vector(-bone[BoneRightPelvis], 0, 0);
    legs.nodes[NodeLeftKnee].offset = Vector(0, 0, -bone[BoneLeftUpperLeg]);
    legs.nodes[NodeLeftAnkle].offset = Vector(0, 0, -bone[BoneLeftLowerLeg]);
    legs.nodes[NodeRightKnee].offset = Vector(0, 0, -bone[BoneRightUpperLeg]);
    legs.nodes[NodeRightAnkle].offset = Vector(0, 0, -bone[BoneRightLowerLeg]);
    legs.nodes[NodeLeftFootHeel].offset = Vector(0, bone[BoneLeftHeel], -bone[BoneLeftAnkleHeight]);
    legs.nodes[NodeRightFootHeel].offset =
        Vector(0, bone[BoneRightHeel], -bone[BoneRightAnkleHeight]);
    legs.nodes[NodeLeftFootBall].offset = Vector(0, -bone[BoneLeftFoot], 0);
    legs.nodes[NodeRightFootBall].offset = Vector(0, -bone[BoneRightFoot], 0);
}

void PoseLegNode(SkeletonNode* node, Vector position, const Matrix& rotation,
                 const float channels[VARNEL_NUM_CHANNELS])
{
    node->worldPosition = position + rotation * node->offset;
    if (node->hasChannels) {
        const int* index = node->channelIndex;
        node->worldRotation = rotation * Matrix::RotYXZ(channels[index[0]] * DegreesToRadians,
                                                        channels[index[1]] * DegreesToRadians,
                                                        channels[index[2]] * DegreesToRadians);
    } else {
        // An end point turns with its parent; RotYXZ(0, 0, 0) is exactly the identity.
        node->worldRotation = rotation;
    }
    for (int i = 0; i < node->numChildren; i++)
        PoseLegNode(node->children[i], node->worldPosition, node->worldRotation, channels);
}

void PoseFootPoints(LegSkeleton& legs, const float channels[VARNEL_NUM_CHANNELS],
                    Vector footPoints[FootPointCount])
{
    PoseLegNode(&legs.nodes[NodeHips], Vector(0, 0, 0), Matrix::Identity, channels);
    footPoints[FootLeftHeel] = legs.nodes[NodeLeftFootHeel].worldPosition;
    footPoints[FootRightHeel] = legs.nodes[NodeRightFootHeel].worldPosition;
    footPoints[FootLeftBall] = legs.nodes[NodeLeftFootBall].worldPosition;
    footPoints[FootRightBall] = legs.nodes[NodeRightFootBall].worldPosition;
}
