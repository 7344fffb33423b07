// A 100,000-frame take of the 18-joint body for the file and frame
// benchmarks: a walk with every joint swinging on its own rhythm, values of
// every sign and several magnitudes, as a real capture has them.
#pragma once

#include "varnel.h"

#include <cmath>
#include <cstring>

constexpr int BenchmarkTakeFrames = 100000;

inline void FillBenchmarkFrame(SkeletonFrame* frame, int index)
{
    std::memset(frame, 0, sizeof *frame);
    float t = float(index) / 120.0f;
    frame->counter = index;
    frame->channels[0] = 30.0f * std::sin(0.05f * t) + 0.01f * float(index % 7);
    frame->channels[1] = -45.0f * t / 10.0f;
    frame->channels[2] = 36.5f + 1.2f * std::sin(5.5f * t);
    for (int c = 3; c < VARNEL_NUM_CHANNELS; c++) {
        float amplitude = (c % 3 == 0) ? 60.0f : (c % 3 == 1) ? 15.0f : 4.0f;
        frame->channels[c] = amplitude * std::sin(2.7f * t + 0.37f * float(c)) +
                             0.5f * std::sin(13.0f * t * float(c % 5 + 1));
    }
}

// Builds the default skeleton with the take in its frames.
inline void MakeBenchmarkTake(Skeleton* skeleton)
{
    VarnelInitSkeleton(skeleton);
    VarnelFreeSkeletonFrames(skeleton);
    for (int i = 0; i < BenchmarkTakeFrames; i++) {
        VarnelAddFrame(skeleton);
        FillBenchmarkFrame(&skeleton->frames[i], i);
    }
}
