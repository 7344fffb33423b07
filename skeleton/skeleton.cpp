// The node table, the skeleton's set-up from an actor, and its rest height.
#include "skeleton/skeleton_table.h"

#include "actor/default_actor.h"
#include "skeleton/frame_store.h"

#include <cstring>

namespace {
struct NodeDescription {
    const char* name;
    int parent; // children are linked in node order, which is the required order
};

const NodeDescription Nodes[VARNEL_NUM_NODES] = {
    {"Hips", -1},
    {"LeftHip", NodeHips},
    {"RightHip", NodeHips},
    {"Chest", NodeHips},
    {"LeftCollar", NodeChest},
    {"RightCollar", NodeChest},
    {"Neck", NodeChest},
    {"LeftKnee", NodeLeftHip},
    {"LeftAnkle", NodeLeftKnee},
    {"RightKnee", NodeRightHip},
    {"RightAnkle", NodeRightKnee},
    {"LeftShoulder", NodeLeftCollar},
    {"LeftElbow", NodeLeftShoulder},
    {"LeftWrist", NodeLeftElbow},
    {"RightShoulder", NodeRightCollar},
    {"RightElbow", NodeRightShoulder},
    {"RightWrist", NodeRightElbow},
    {"Head", NodeNeck},
    {"TopOfHead", NodeHead},
    {"LeftHand", NodeLeftWrist},
    {"RightHand", NodeRightWrist},
    {"LeftFootHeel", NodeLeftAnkle},
    {"RightFootHeel", NodeRightAnkle},
    {"LeftFootBall", NodeLeftFootHeel},
    {"RightFootBall", NodeRightFootHeel},
};

// The X angle channel of each jointed node (0-17), in node order; its Y and Z
// angles are the next two channels.
const int NodeAngleChannel[VARNEL_NUM_JOINTS] = {
    HipsChannel,       LeftHipChannel,     RightHipChannel,      ChestChannel,
    LeftCollarChannel, RightCollarChannel, NeckChannel,          LeftKneeChannel,
    LeftAnkleChannel,  RightKneeChannel,   RightAnkleChannel,    LeftShoulderChannel,
    LeftElbowChannel,  LeftWristChannel,   RightShoulderChannel, RightElbowChannel,
    RightWristChannel, HeadChannel};
} // namespace

void SetJointChannels(SkeletonNode& node, int joint)
{
    int x = NodeAngleChannel[joint];
    node.hasChannels = 1;
    node.channelIndex[0] = x + 1;
    node.channelIndex[1] = x;
    node.channelIndex[2] = x + 2;
}

void BuildNodeTable(Skeleton* skeleton)
{
    VarnelFreeSkeletonFrames(skeleton);
    for (int i = 0; i < VARNEL_NUM_NODES; i++) {
        SkeletonNode& node = skeleton->nodes[i];
        std::memset(&node, 0, sizeof node);
        std::strncpy(node.name, Nodes[i].name, sizeof node.name - 1);
        node.worldRotation = Matrix::Identity;
        if (i < VARNEL_NUM_JOINTS)
            SetJointChannels(node, i);
        if (Nodes[i].parent >= 0) {
            SkeletonNode& parent = skeleton->nodes[Nodes[i].parent];
            parent.children[parent.numChildren++] = &node;
        }
    }
}

void VarnelCopyActorToSkeleton(Skeleton* skeleton, const ActorData* actor)
{
    int32_t numFrames = skeleton->numFrames;
    SkeletonFrame* frames = skeleton->frames;
    skeleton->frames = nullptr;
    BuildNodeTable(skeleton);
    skeleton->frames = frames;
    skeleton->numFrames = numFrames;

    const float* bone = (actor ? *actor : DefaultActorData()).bones;
    SkeletonNode* node = skeleton->nodes;
    node[NodeLeftHip].offset = Vector(bone[BoneLeftPelvis], 0, 0);
    node[NodeRightHip].offset = Vector(-bone[BoneRightPelvis], 0, 0);
    node[NodeChest].offset = Vector(0, bone[BonePelvisDepth], bone[BonePelvisHeight]);
    Vector collar(0, -bone[BonePelvisDepth], bone[BoneSpine]);
    node[NodeLeftCollar].offset = collar;
    node[NodeRightCollar].offset = collar;
    node[NodeNeck].offset = collar;
    node[NodeLeftKnee].offset = Vector(0, 0, -bone[BoneLeftUpperLeg]);
    node[NodeLeftAnkle].offset = Vector(0, 0, -bone[BoneLeftLowerLeg]);
    node[NodeRightKnee].offset = Vector(0, 0, -bone[BoneRightUpperLeg]);
    node[NodeRightAnkle].offset = Vector(0, 0, -bone[BoneRightLowerLeg]);
    node[NodeLeftShoulder].offset = Vector(bone[BoneLeftClavicle], 0, 0);
    node[NodeLeftElbow].offset = Vector(0, 0, -bone[BoneLeftUpperArm]);
    node[NodeLeftWrist].offset = Vector(0, 0, -bone[BoneLeftForearm]);
    node[NodeRightShoulder].offset = Vector(-bone[BoneRightClavicle], 0, 0);
    node[NodeRightElbow].offset = Vector(0, 0, -bone[BoneRightUpperArm]);
    node[NodeRightWrist].offset = Vector(0, 0, -bone[BoneRightForearm]);
    node[NodeHead].offset = Vector(0, 0, bone[BoneNeck]);
    node[NodeTopOfHead].offset = Vector(0, 0, bone[BoneHead]);
    node[NodeLeftHand].offset = Vector(0, 0, -bone[BoneLeftHand]);
    node[NodeRightHand].offset = Vector(0, 0, -bone[BoneRightHand]);
    node[NodeLeftFootHeel].offset = Vector(0, bone[BoneLeftHeel], -bone[BoneLeftAnkleHeight]);
    node[NodeRightFootHeel].offset = Vector(0, bone[BoneRightHeel], -bone[BoneRightAnkleHeight]);
    node[NodeLeftFootBall].offset = Vector(0, -bone[BoneLeftFoot], 0);
    node[NodeRightFootBall].offset = Vector(0, -bone[BoneRightFoot], 0);
}

void VarnelInitSkeleton(Skeleton* skeleton)
{
    // The record may hold garbage: nothing in it may be freed.
    skeleton->frames = nullptr;
    skeleton->numFrames = 0;
    VarnelCopyActorToSkeleton(skeleton, nullptr);
    skeleton->frameTime = 0.033333335f;
    if (!AllocateFrames(skeleton, 1)) {
        VarnelMessageBox("Not enough memory for frames");
        return;
    }
    std::memset(&skeleton->frames[0], 0, sizeof(SkeletonFrame));
    skeleton->frames[0].channels[HipsPositionChannel + 2] = VarnelPutSkeletonOnFloor(skeleton);
}

float VarnelPutSkeletonOnFloor(const Skeleton* skeleton)
{
    const SkeletonNode* node = skeleton->nodes;
    float left = -(node[NodeLeftFootHeel].offset.z + node[NodeLeftAnkle].offset.z +
                   node[NodeLeftKnee].offset.z + node[NodeLeftHip].offset.z);
    float right = -(node[NodeRightFootHeel].offset.z + node[NodeRightAnkle].offset.z +
                    node[NodeRightKnee].offset.z + node[NodeRightHip].offset.z);
    return left > right ? left : right;
}
