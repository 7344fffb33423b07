// The names a BVH file gives the joints where the 18-joint body branches,
// and the channels the reader takes. The reader matches files with them, and
// the tools explain with them why a file is not that body.
#pragma once

#include "varnel.h"

#include <string_view>

struct BvhBranchJoint {
    std::string_view name;
    SkeletonNodeIndex node;
};

// Searched in this order; any other joint name means the first child of the
// joint before it.
inline constexpr BvhBranchJoint BvhBranchJoints[] = {
    {"LeftUpLeg", NodeLeftHip},     {"RightUpLeg", NodeRightHip},     {"Hips", NodeHips},
    {"LeftHip", NodeLeftHip},       {"RightHip", NodeRightHip},       {"Chest", NodeChest},
    {"LeftCollar", NodeLeftCollar}, {"RightCollar", NodeRightCollar}, {"Neck", NodeNeck},
};

// The root's six channels; a joint has the last three.
inline constexpr std::string_view BvhRootChannels[] = {"Xposition", "Yposition", "Zposition",
                                                       "Zrotation", "Xrotation", "Yrotation"};
