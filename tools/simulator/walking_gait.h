// The built-in walk: joint angle curves over the gait cycle of an easy walk
// that keeps turning left, so every step hands the body from heel to ball
// and from foot to foot. The walk eases in from the null pose over its
// first second and its turn over the first few.
#pragma once

#include "varnel.h"

constexpr double StrideSeconds = 1.1; // heel strike to heel strike of one foot

// The joint rotations (channels 3..56) of the walk `seconds` after it
// starts; the hips position (channels 0..2) is left at 0.
void WalkingPose(double seconds, SkeletonFrame& pose);

// The walk's heading (radians, about the vertical, left positive).
double WalkingHeading(double seconds);
