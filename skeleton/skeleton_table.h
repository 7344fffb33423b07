// The fixed 25-node body: names, links and channel numbers never change;
// only the offsets come from an actor or a BVH file.
#pragma once

#include "varnel.h"

// Releases the frames and rebuilds names, links and channels with all
// offsets zero.
void BuildNodeTable(Skeleton* skeleton);

// Gives joint node `joint` (0-17) its channels: the Y, X and Z angles of that
// joint in a frame.
void SetJointChannels(SkeletonNode& node, int joint);
