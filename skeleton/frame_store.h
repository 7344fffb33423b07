// The frame array of a Skeleton. Its capacity is never stored (the record's
// layout is fixed): it is a function of numFrames, so every path that
// allocates frames must size the array with FrameCapacity.
#pragma once

#include "varnel.h"

#include <cstddef>

// Room for count frames: 8 to 15 times a power of two. Growing by at least
// a sixteenth keeps appends amortised O(1) while at most an eighth of the
// array lies unused.
size_t FrameCapacity(size_t count);

// Replaces the frames with room for count uninitialised frames and sets
// numFrames to count. False when the memory cannot be had; the skeleton then
// has no frames.
bool AllocateFrames(Skeleton* skeleton, int count);

// Tests make allocation fail through this; null restores realloc.
using FrameReallocator = void* (*)(void* block, size_t size);
void SetFrameReallocatorForTesting(FrameReallocator reallocator);
