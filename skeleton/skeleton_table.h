// The fixed 25-node body: names, links and channel numbers never change;
// only the offsets come from an actor or a BVH file.
#pragma once

#include "varnel.h"

// The X angle channel of each jointed node (0-17); its Y and Z angles are the
// next two channels.
extern const int NodeAngleChannel[VARNEL_NUM_JOINTS];

// Releases the frames and rebuilds names, links and channels with all
// offsets zero.
void BuildNodeTable(Skeleton* skeleton);
