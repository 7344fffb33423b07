// A skeleton from VarnelInitSkeleton whose frames are released with it, for
// the commands that read a take whole.
#pragma once

#include "varnel.h"

struct SkeletonWithFrames {
    Skeleton skeleton;
    SkeletonWithFrames() { VarnelInitSkeleton(&skeleton); }
    ~SkeletonWithFrames() { VarnelFreeSkeletonFrames(&skeleton); }
    SkeletonWithFrames(const SkeletonWithFrames&) = delete;
    SkeletonWithFrames& operator=(const SkeletonWithFrames&) = delete;
};
