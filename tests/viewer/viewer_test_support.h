// A fresh viewer state around each test with a fake shell as its window, and
// builders of poses and takes.
#pragma once

#include "tests/support/fake_shell.h"
#include "tests/support/own_suit_port.h"
#include "tests/support/recording_canvas.h"
#include "varnel.h"
#include "viewer/viewer_state.h"

#include <gtest/gtest.h>

#include <vector>

class ViewerTest : public testing::Test {
  protected:
    void SetUp() override
    {
        ResetViewerForTesting();
        state.MainFrame = &shell;
    }
    void TearDown() override
    {
        VarnelFinish();
        ResetViewerForTesting();
    }

    ViewerState& state = Viewer();
    FakeShell shell;
};

// A rest pose with the hips at the point; marker goes into counter and
// contacts, so a test tells which frame was shown.
inline SkeletonFrame PoseAt(Vector hips, int marker = 0)
{
    SkeletonFrame frame = {};
    frame.counter = marker;
    frame.contacts = uint32_t(marker);
    frame.channels[HipsPositionChannel] = hips.x;
    frame.channels[HipsPositionChannel + 1] = hips.y;
    frame.channels[HipsPositionChannel + 2] = hips.z;
    return frame;
}

// The default skeleton holding exactly these frames.
inline void MakeTake(ViewerState& state, const std::vector<SkeletonFrame>& frames)
{
    VarnelFreeSkeletonFrames(&state.Skeleton); // the skeleton's build would drop them
    VarnelInitSkeleton(&state.Skeleton);
    VarnelFreeSkeletonFrames(&state.Skeleton);
    for (const SkeletonFrame& frame : frames) {
        ASSERT_EQ(VarnelAddFrame(&state.Skeleton), 1);
        state.Skeleton.frames[state.Skeleton.numFrames - 1] = frame;
    }
}
