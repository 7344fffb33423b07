#include "tools/stream/vmc_pose.h"

#include <cmath>

namespace {
constexpr float MetresPerInch = 0.0254f;
constexpr float RadiansPerDegree = 0.017453292f;

// Our axes to the receivers': a reflection (det -1), since theirs are
// left-handed. A rotation R of ours is Mirror * R * Mirror^T in theirs.
constexpr Matrix Mirror(-1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, -1.0f, 0.0f);

// The rest correction of a bone: the rotation, in our axes, that takes the
// bone from its T-pose direction to our rest direction. Our arms hang
// (-Z); the T-pose holds them out sideways, the left along +X, the right
// along -X. The smallest turn between the two, about the forward axis,
// keeps the palms where a T-pose has them. Every other bone rests as ours.
constexpr Matrix LeftArmRest(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, -1.0f, 0.0f, 0.0f);
constexpr Matrix RightArmRest(0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f);

struct BoneEntry {
    const char* name;
    int parent;
    int node;
};

constexpr BoneEntry Bones[VmcBoneCount] = {
    {"Hips", -1, NodeHips},
    // Our one torso joint sits low on the back, where the humanoid's spine
    // bends; the humanoid's chest then keeps its rest rotation.
    {"Spine", VmcHips, NodeChest},
    {"Chest", VmcSpine, -1},
    {"Neck", VmcChest, NodeNeck},
    {"Head", VmcNeck, NodeHead},
    {"LeftShoulder", VmcChest, NodeLeftCollar},
    {"LeftUpperArm", VmcLeftShoulder, NodeLeftShoulder},
    {"LeftLowerArm", VmcLeftUpperArm, NodeLeftElbow},
    {"LeftHand", VmcLeftLowerArm, NodeLeftWrist},
    {"RightShoulder", VmcChest, NodeRightCollar},
    {"RightUpperArm", VmcRightShoulder, NodeRightShoulder},
    {"RightLowerArm", VmcRightUpperArm, NodeRightElbow},
    {"RightHand", VmcRightLowerArm, NodeRightWrist},
    {"LeftUpperLeg", VmcHips, NodeLeftHip},
    {"LeftLowerLeg", VmcLeftUpperLeg, NodeLeftKnee},
    {"LeftFoot", VmcLeftLowerLeg, NodeLeftAnkle},
    // Our foot is rigid from the ankle to the ball.
    {"LeftToes", VmcLeftFoot, -1},
    {"RightUpperLeg", VmcHips, NodeRightHip},
    {"RightLowerLeg", VmcRightUpperLeg, NodeRightKnee},
    {"RightFoot", VmcRightLowerLeg, NodeRightAnkle},
    {"RightToes", VmcRightFoot, -1},
};

const Matrix& RestCorrection(int bone)
{
    switch (bone) {
    case VmcLeftUpperArm:
    case VmcLeftLowerArm:
    case VmcLeftHand: return LeftArmRest;
    case VmcRightUpperArm:
    case VmcRightLowerArm:
    case VmcRightHand: return RightArmRest;
    default: return Matrix::Identity;
    }
}

Matrix NodeRotation(const Skeleton& body, const SkeletonFrame& frame, int node)
{
    const SkeletonNode& n = body.nodes[node];
    return Matrix::RotYXZ(frame.channels[n.channelIndex[0]] * RadiansPerDegree,
                          frame.channels[n.channelIndex[1]] * RadiansPerDegree,
                          frame.channels[n.channelIndex[2]] * RadiansPerDegree);
}

// Where the bone sits from its parent bone, in our axes as the parent node
// has them at rest. The humanoid's chest, which we lack, sits halfway up to
// the neck.
Vector RestOffset(const Skeleton& body, int bone)
{
    auto offset = [&body](int node) { return body.nodes[node].offset; };
    Vector halfNeck = offset(NodeNeck) * 0.5f;
    switch (bone) {
    case VmcChest:
    case VmcNeck: return halfNeck;
    case VmcLeftShoulder:
    case VmcRightShoulder: return offset(Bones[bone].node) - halfNeck;
    case VmcLeftToes: return offset(NodeLeftFootHeel) + offset(NodeLeftFootBall);
    case VmcRightToes: return offset(NodeRightFootHeel) + offset(NodeRightFootBall);
    default: return offset(Bones[bone].node);
    }
}

void StoreRotation(const Matrix& ours, float quaternion[4])
{
    Matrix m = Mirror * ours * Mirror.Transpose();
    float trace = m.m[0][0] + m.m[1][1] + m.m[2][2];
    float x, y, z, w;
    // The largest of w, x, y, z first, so that nothing divides by a small number.
    if (trace > 0.0f) {
        float s = std::sqrt(trace + 1.0f) * 2.0f;
        w = 0.25f * s;
        x = (m.m[2][1] - m.m[1][2]) / s;
        y = (m.m[0][2] - m.m[2][0]) / s;
        z = (m.m[1][0] - m.m[0][1]) / s;
    } else if (m.m[0][0] > m.m[1][1] && m.m[0][0] > m.m[2][2]) {
        float s = std::sqrt(1.0f + m.m[0][0] - m.m[1][1] - m.m[2][2]) * 2.0f;
        w = (m.m[2][1] - m.m[1][2]) / s;
        x = 0.25f * s;
        y = (m.m[0][1] + m.m[1][0]) / s;
        z = (m.m[0][2] + m.m[2][0]) / s;
    } else if (m.m[1][1] > m.m[2][2]) {
        float s = std::sqrt(1.0f + m.m[1][1] - m.m[0][0] - m.m[2][2]) * 2.0f;
        w = (m.m[0][2] - m.m[2][0]) / s;
        x = (m.m[0][1] + m.m[1][0]) / s;
        y = 0.25f * s;
        z = (m.m[1][2] + m.m[2][1]) / s;
    } else {
        float s = std::sqrt(1.0f + m.m[2][2] - m.m[0][0] - m.m[1][1]) * 2.0f;
        w = (m.m[1][0] - m.m[0][1]) / s;
        x = (m.m[0][2] + m.m[2][0]) / s;
        y = (m.m[1][2] + m.m[2][1]) / s;
        z = 0.25f * s;
    }
    // One sign for the same turn, so that a receiver blending frames does
    // not swing the long way round.
    float sign = w < 0.0f ? -1.0f : 1.0f;
    float norm = sign / std::sqrt(x * x + y * y + z * z + w * w);
    quaternion[0] = x * norm;
    quaternion[1] = y * norm;
    quaternion[2] = z * norm;
    quaternion[3] = w * norm;
}

void StorePosition(Vector ours, float position[3])
{
    Vector theirs = VmcPositionFromOurs(ours);
    position[0] = theirs.x;
    position[1] = theirs.y;
    position[2] = theirs.z;
}
} // namespace

const char* VmcBoneName(int bone)
{
    return Bones[bone].name;
}

int VmcBoneParent(int bone)
{
    return Bones[bone].parent;
}

int VmcBoneNode(int bone)
{
    return Bones[bone].node;
}

Vector VmcPositionFromOurs(Vector inches)
{
    return (Mirror * inches) * MetresPerInch;
}

void VmcPoseFromFrame(const Skeleton& body, const SkeletonFrame& frame, VmcPose* pose)
{
    // The root stays at the capture's origin: the hips carry the travel.
    pose->root = VmcTransform{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
    for (int bone = 0; bone < VmcBoneCount; bone++) {
        VmcTransform& out = pose->bones[bone];
        int parent = Bones[bone].parent;
        int node = Bones[bone].node;
        const Matrix& rest = RestCorrection(bone);
        const Matrix parentRest = parent < 0 ? Matrix::Identity : RestCorrection(parent);
        Matrix local = node < 0 ? Matrix::Identity : NodeRotation(body, frame, node);
        StoreRotation(parentRest.Transpose() * local * rest, out.rotation);
        Vector offset = parentRest.Transpose() * RestOffset(body, bone);
        if (bone == VmcHips)
            offset +=
                Vector(frame.channels[HipsPositionChannel], frame.channels[HipsPositionChannel + 1],
                       frame.channels[HipsPositionChannel + 2]);
        StorePosition(offset, out.position);
    }
}
