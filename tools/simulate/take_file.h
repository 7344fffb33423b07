// The BVH take that `varnel simulate --bvh` plays, read whole and released
// with the motion that plays it.
#pragma once

#include "varnel.h"

#include <string>

class TakeFile {
  public:
    TakeFile() { VarnelInitSkeleton(&skeleton); }
    ~TakeFile() { VarnelFreeSkeletonFrames(&skeleton); }
    TakeFile(const TakeFile&) = delete;
    TakeFile& operator=(const TakeFile&) = delete;

    // Reads the file; an empty text on success, else the reason (the
    // library has reported format errors itself).
    std::string Read(const std::string& path);
    const Skeleton& Frames() const { return skeleton; }

  private:
    Skeleton skeleton;
};
