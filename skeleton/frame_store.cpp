#include "skeleton/frame_store.h"

#include <bit>
#include <climits>
#include <cstdlib>

namespace {
FrameReallocator reallocateFrames = std::realloc;

void* Reallocate(void* block, size_t count)
{
    if (count > SIZE_MAX / sizeof(SkeletonFrame))
        return nullptr;
    return reallocateFrames(block, count * sizeof(SkeletonFrame));
}
} // namespace

size_t FrameCapacity(size_t count)
{
    if (count == 0)
        return 0;
    if (count <= 8)
        return 8;
    size_t step = size_t(1) << (std::bit_width(count) - 4);
    return (count + step - 1) / step * step;
}

bool AllocateFrames(Skeleton* skeleton, int count)
{
    VarnelFreeSkeletonFrames(skeleton);
    if (count <= 0)
        return true;
    void* frames = Reallocate(nullptr, FrameCapacity(size_t(count)));
    if (!frames)
        return false;
    skeleton->frames = static_cast<SkeletonFrame*>(frames);
    skeleton->numFrames = count;
    return true;
}

void SetFrameReallocatorForTesting(FrameReallocator reallocator)
{
    reallocateFrames = reallocator ? reallocator : std::realloc;
}

int VarnelAddFrame(Skeleton* skeleton)
{
    int32_t count = skeleton->numFrames < 0 ? 0 : skeleton->numFrames;
    if (count == INT32_MAX)
        return 0;
    size_t capacity = FrameCapacity(size_t(count));
    size_t needed = FrameCapacity(size_t(count) + 1);
    if (needed != capacity || !skeleton->frames) {
        void* frames = Reallocate(skeleton->frames, needed);
        if (!frames)
            return 0;
        skeleton->frames = static_cast<SkeletonFrame*>(frames);
    }
    skeleton->numFrames = count + 1;
    return 1;
}

void VarnelFreeSkeletonFrames(Skeleton* skeleton)
{
    std::free(skeleton->frames);
    skeleton->frames = nullptr;
    skeleton->numFrames = 0;
}
