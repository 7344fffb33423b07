// Forward kinematics over the node table.
#pragma once

#include "varnel.h"

// Poses only the hips and both legs, down to the foot balls: all that the
// foot contacts need. The results equal those of VarnelApplyFrame bit for bit.
void PoseLegs(Skeleton* skeleton, const SkeletonFrame* frame);
