// A solved frame as the VMC protocol's receivers take it: the humanoid
// bones' local positions and rotations in their convention (left-handed,
// Y up, X to the avatar's right, Z forward, metres, quaternions x y z w),
// re-based from our rest skeleton (arms hanging) onto the normalized
// humanoid rest (T-pose, every local rotation the identity).
#pragma once

#include "varnel.h"

#include <array>

// The humanoid bones we send, in the order a receiver may pose them
// (every parent before its children).
enum VmcBoneIndex {
    VmcHips,
    VmcSpine,
    VmcChest,
    VmcNeck,
    VmcHead,
    VmcLeftShoulder,
    VmcLeftUpperArm,
    VmcLeftLowerArm,
    VmcLeftHand,
    VmcRightShoulder,
    VmcRightUpperArm,
    VmcRightLowerArm,
    VmcRightHand,
    VmcLeftUpperLeg,
    VmcLeftLowerLeg,
    VmcLeftFoot,
    VmcLeftToes,
    VmcRightUpperLeg,
    VmcRightLowerLeg,
    VmcRightFoot,
    VmcRightToes,
    VmcBoneCount
};

struct VmcTransform {
    float position[3]; // x, y, z, metres, in the parent bone's axes
    float rotation[4]; // x, y, z, w, relative to the parent bone
};

struct VmcPose {
    VmcTransform root; // the avatar in the receiver's world
    std::array<VmcTransform, VmcBoneCount> bones;
};

// The humanoid name of a bone ("Hips", "LeftUpperArm", ...).
const char* VmcBoneName(int bone);

// The humanoid parent of a bone; -1 for the hips, whose parent is the root.
int VmcBoneParent(int bone);

// The node of our skeleton that moves like the bone, or -1 for a bone that
// keeps its rest rotation (Chest, the toes).
int VmcBoneNode(int bone);

// Converts a frame of the body whose node offsets `body` holds (from the
// actor, or a BVH file). Allocation-free.
void VmcPoseFromFrame(const Skeleton& body, const SkeletonFrame& frame, VmcPose* pose);

// The receivers' axes from ours: (x, y, z) with Z up, X to the actor's left
// and the actor facing -Y becomes (-x, z, -y), scaled from inches to metres.
Vector VmcPositionFromOurs(Vector inches);
