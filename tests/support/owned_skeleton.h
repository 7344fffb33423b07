// A skeleton from VarnelInitSkeleton, released at the end of the test.
#pragma once

#include "varnel.h"

struct OwnedSkeleton {
    Skeleton skeleton;
    OwnedSkeleton() { VarnelInitSkeleton(&skeleton); }
    ~OwnedSkeleton() { VarnelFreeSkeletonFrames(&skeleton); }
    OwnedSkeleton(const OwnedSkeleton&) = delete;
    OwnedSkeleton& operator=(const OwnedSkeleton&) = delete;
    Skeleton* operator->() { return &skeleton; }
    Skeleton* get() { return &skeleton; }
};
