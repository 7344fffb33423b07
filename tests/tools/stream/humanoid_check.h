// A normalized humanoid (T-pose, identity local rotations) with our bone
// lengths, posed by VMC bone transforms as a receiver poses its avatar, and
// compared joint by joint with our own forward kinematics of the frame.
// It knows the receivers' convention on its own, not through the encoder.
#pragma once

#include "tests/support/owned_skeleton.h"
#include "tools/stream/vmc_pose.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>

struct Quaternion {
    double x, y, z, w;
};

struct Vec3 {
    double x, y, z;
};

inline Vec3 Add(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline Vec3 Rotate(Quaternion q, Vec3 v)
{
    Vec3 u{q.x, q.y, q.z};
    Vec3 t = Cross(u, v);
    t = {2 * t.x, 2 * t.y, 2 * t.z};
    Vec3 c = Cross(u, t);
    return {v.x + q.w * t.x + c.x, v.y + q.w * t.y + c.y, v.z + q.w * t.z + c.z};
}

inline Quaternion Multiply(Quaternion a, Quaternion b)
{
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

// Ours (Z up, X to the actor's left, facing -Y, inches) in the receivers'
// axes (Y up, X to the avatar's right, facing +Z, metres).
inline Vec3 Receivers(Vector ours)
{
    return {-ours.x * 0.0254, ours.z * 0.0254, -ours.y * 0.0254};
}

inline double AngleDegrees(Vec3 a, Vec3 b)
{
    double dot = a.x * b.x + a.y * b.y + a.z * b.z;
    double la = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    double lb = std::sqrt(b.x * b.x + b.y * b.y + b.z * b.z);
    double c = std::clamp(dot / (la * lb), -1.0, 1.0);
    return std::acos(c) * 180.0 / M_PI;
}

// A received bone: the rotation and, for the hips, the position.
struct ReceivedBone {
    Quaternion rotation{0, 0, 0, 1};
    Vec3 position{0, 0, 0};
};

class NormalizedHumanoid {
  public:
    // T-pose with the lengths of `body`: arms straight out to the sides,
    // everything else as our rest pose has it.
    explicit NormalizedHumanoid(const Skeleton& body)
    {
        auto off = [&body](int node) { return body.nodes[node].offset; };
        auto out = [&body](int node, double side) {
            // Along the arm, to the avatar's left (-X) or right (+X).
            return Vec3{side * body.nodes[node].offset.Length() * 0.0254, 0, 0};
        };
        Vector halfNeck = off(NodeNeck) * 0.5f;
        rest["Spine"] = {"Hips", Receivers(off(NodeChest))};
        rest["Chest"] = {"Spine", Receivers(halfNeck)};
        rest["Neck"] = {"Chest", Receivers(halfNeck)};
        rest["Head"] = {"Neck", Receivers(off(NodeHead))};
        rest["LeftShoulder"] = {"Chest", Receivers(off(NodeLeftCollar) - halfNeck)};
        rest["RightShoulder"] = {"Chest", Receivers(off(NodeRightCollar) - halfNeck)};
        rest["LeftUpperArm"] = {"LeftShoulder", Receivers(off(NodeLeftShoulder))};
        rest["RightUpperArm"] = {"RightShoulder", Receivers(off(NodeRightShoulder))};
        rest["LeftLowerArm"] = {"LeftUpperArm", out(NodeLeftElbow, -1)};
        rest["LeftHand"] = {"LeftLowerArm", out(NodeLeftWrist, -1)};
        rest["RightLowerArm"] = {"RightUpperArm", out(NodeRightElbow, 1)};
        rest["RightHand"] = {"RightLowerArm", out(NodeRightWrist, 1)};
        rest["LeftUpperLeg"] = {"Hips", Receivers(off(NodeLeftHip))};
        rest["LeftLowerLeg"] = {"LeftUpperLeg", Receivers(off(NodeLeftKnee))};
        rest["LeftFoot"] = {"LeftLowerLeg", Receivers(off(NodeLeftAnkle))};
        rest["LeftToes"] = {"LeftFoot", Receivers(off(NodeLeftFootHeel) + off(NodeLeftFootBall))};
        rest["RightUpperLeg"] = {"Hips", Receivers(off(NodeRightHip))};
        rest["RightLowerLeg"] = {"RightUpperLeg", Receivers(off(NodeRightKnee))};
        rest["RightFoot"] = {"RightLowerLeg", Receivers(off(NodeRightAnkle))};
        rest["RightToes"] = {"RightFoot",
                             Receivers(off(NodeRightFootHeel) + off(NodeRightFootBall))};
        // End points, to check the last bone of each chain.
        rest["LeftFingers"] = {"LeftHand", out(NodeLeftHand, -1)};
        rest["RightFingers"] = {"RightHand", out(NodeRightHand, 1)};
        rest["HeadTop"] = {"Head", Receivers(off(NodeTopOfHead))};
    }

    // Poses every joint from the received bones (a bone not received keeps
    // its rest rotation); world positions by name.
    std::map<std::string, Vec3> Pose(const std::map<std::string, ReceivedBone>& received) const
    {
        std::map<std::string, Vec3> position;
        std::map<std::string, Quaternion> rotation;
        auto find = [&received](const std::string& name) {
            auto found = received.find(name);
            return found == received.end() ? ReceivedBone{} : found->second;
        };
        position["Hips"] = find("Hips").position;
        rotation["Hips"] = find("Hips").rotation;
        // Parents come before children in this order.
        const char* order[] = {"Spine",         "Chest",        "Neck",          "Head",
                               "HeadTop",       "LeftShoulder", "LeftUpperArm",  "LeftLowerArm",
                               "LeftHand",      "LeftFingers",  "RightShoulder", "RightUpperArm",
                               "RightLowerArm", "RightHand",    "RightFingers",  "LeftUpperLeg",
                               "LeftLowerLeg",  "LeftFoot",     "LeftToes",      "RightUpperLeg",
                               "RightLowerLeg", "RightFoot",    "RightToes"};
        for (const char* name : order) {
            const auto& [parent, offset] = rest.at(name);
            position[name] = Add(position[parent], Rotate(rotation[parent], offset));
            rotation[name] = Multiply(rotation[parent], find(name).rotation);
        }
        return position;
    }

  private:
    std::map<std::string, std::pair<std::string, Vec3>> rest;
};

// Each humanoid joint and the node of ours that sits there.
inline const std::map<std::string, int>& JointNodes()
{
    static const std::map<std::string, int> nodes = {
        {"Hips", NodeHips},
        {"Spine", NodeChest},
        {"Neck", NodeNeck},
        {"Head", NodeHead},
        {"HeadTop", NodeTopOfHead},
        {"LeftShoulder", NodeLeftCollar},
        {"LeftUpperArm", NodeLeftShoulder},
        {"LeftLowerArm", NodeLeftElbow},
        {"LeftHand", NodeLeftWrist},
        {"LeftFingers", NodeLeftHand},
        {"RightShoulder", NodeRightCollar},
        {"RightUpperArm", NodeRightShoulder},
        {"RightLowerArm", NodeRightElbow},
        {"RightHand", NodeRightWrist},
        {"RightFingers", NodeRightHand},
        {"LeftUpperLeg", NodeLeftHip},
        {"LeftLowerLeg", NodeLeftKnee},
        {"LeftFoot", NodeLeftAnkle},
        {"LeftToes", NodeLeftFootBall},
        {"RightUpperLeg", NodeRightHip},
        {"RightLowerLeg", NodeRightKnee},
        {"RightFoot", NodeRightAnkle},
        {"RightToes", NodeRightFootBall},
    };
    return nodes;
}

// Every segment between two joints of the posed humanoid points where the
// same segment of our skeleton points, within a degree, and the hips stand
// where ours do.
inline void ExpectSameDirections(Skeleton& body, const SkeletonFrame& frame,
                                 const std::map<std::string, ReceivedBone>& received,
                                 const std::string& what)
{
    VarnelApplyFrame(&body, &frame, 0, 0);
    std::map<std::string, Vec3> posed = NormalizedHumanoid(body).Pose(received);
    const std::map<std::string, int>& nodes = JointNodes();
    Vec3 hips = Receivers(body.nodes[NodeHips].worldPosition);
    EXPECT_NEAR(posed["Hips"].x, hips.x, 1e-4) << what;
    EXPECT_NEAR(posed["Hips"].y, hips.y, 1e-4) << what;
    EXPECT_NEAR(posed["Hips"].z, hips.z, 1e-4) << what;
    for (const auto& [from, fromNode] : nodes)
        for (const auto& [to, toNode] : nodes) {
            if (body.nodes[toNode].offset.Length() < 1e-3f)
                continue;
            bool isChild = false;
            for (int c = 0; c < body.nodes[fromNode].numChildren; c++)
                isChild |= body.nodes[fromNode].children[c] == &body.nodes[toNode];
            // The toes hang from the ankle through the heel.
            isChild |= fromNode == NodeLeftAnkle && toNode == NodeLeftFootBall;
            isChild |= fromNode == NodeRightAnkle && toNode == NodeRightFootBall;
            if (!isChild)
                continue;
            Vector ours = body.nodes[toNode].worldPosition - body.nodes[fromNode].worldPosition;
            Vec3 theirs{posed[to].x - posed[from].x, posed[to].y - posed[from].y,
                        posed[to].z - posed[from].z};
            EXPECT_LT(AngleDegrees(Receivers(ours), theirs), 1.0)
                << what << ": " << from << " to " << to;
        }
}

inline std::map<std::string, ReceivedBone> Received(const VmcPose& pose)
{
    std::map<std::string, ReceivedBone> bones;
    for (int b = 0; b < VmcBoneCount; b++) {
        const VmcTransform& t = pose.bones[b];
        bones[VmcBoneName(b)] = {{t.rotation[0], t.rotation[1], t.rotation[2], t.rotation[3]},
                                 {t.position[0], t.position[1], t.position[2]}};
    }
    return bones;
}

// The frames every check runs on: the rest pose, strides of the
// simulator's walk, and arms raised over and before the body with the
// torso and head turned.
inline SkeletonFrame RestFrame(const Skeleton& body)
{
    SkeletonFrame frame{};
    frame.channels[HipsPositionChannel + 2] = VarnelPutSkeletonOnFloor(&body);
    return frame;
}

inline SkeletonFrame ArmsRaisedFrame(const Skeleton& body)
{
    SkeletonFrame frame = RestFrame(body);
    auto set = [&frame](int channel, float x, float y, float z) {
        frame.channels[channel] = x;
        frame.channels[channel + 1] = y;
        frame.channels[channel + 2] = z;
    };
    set(HipsChannel, 5, 30, -4);
    set(ChestChannel, -10, 15, 8);
    set(LeftCollarChannel, 0, 10, 20);
    set(LeftShoulderChannel, -20, 60, 150); // up past the shoulder, a little forward
    set(LeftElbowChannel, -45, 10, 30);
    set(LeftWristChannel, 20, -15, 70);
    set(RightCollarChannel, 0, -5, -15);
    set(RightShoulderChannel, -160, -20, 10); // forward and over the head
    set(RightElbowChannel, -30, 0, -40);
    set(RightWristChannel, -10, 25, -60);
    set(NeckChannel, 15, -20, 0);
    set(HeadChannel, -10, 35, 5);
    set(LeftHipChannel, -30, 10, 5);
    set(LeftKneeChannel, 50, 0, 0);
    set(LeftAnkleChannel, -15, 5, 0);
    return frame;
}
