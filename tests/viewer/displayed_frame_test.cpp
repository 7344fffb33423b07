#include "viewer/displayed_frame.h"

#include "render/camera.h"
#include "tests/viewer/viewer_test_support.h"

#include <algorithm>

namespace {
class DisplayedFrameTest : public ViewerTest {
  protected:
    // Widens box (left, top, right, bottom) with the pixels of the posed nodes.
    void AddToBox(int box[4])
    {
        for (const SkeletonNode& node : state.Skeleton.nodes) {
            PixelPoint pixel = ProjectPoint(state.camera, node.worldPosition);
            box[0] = std::min(box[0], pixel.x), box[1] = std::min(box[1], pixel.y);
            box[2] = std::max(box[2], pixel.x), box[3] = std::max(box[3], pixel.y);
        }
    }
    int box[4] = {1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
};

TEST_F(DisplayedFrameTest, ShowsTheLiveFrameOrTheTakesFrame)
{
    struct Case {
        int recording, live, playing, playbackFrame, shown, playbackFrameAfter;
    } cases[] = {{1, 0, 1, 2, 99, 2}, {0, 1, 0, 2, 99, 2}, {0, 1, 1, 2, 2, 2},
                 {0, 0, 0, 1, 1, 1},  {0, 0, 0, 3, 0, 0},  {0, 0, 0, -1, 0, 0}};
    EXPECT_FALSE(SelectDisplayedFrame(state)); // no take
    MakeTake(state, {PoseAt({0, 0, 40}, 0), PoseAt({0, 0, 40}, 1), PoseAt({0, 0, 40}, 2)});
    state.LiveFrame = PoseAt({0, 0, 40}, 99);
    for (const Case& c : cases) {
        state.Recording = c.recording, state.Live = c.live, state.Playing = c.playing;
        state.PlaybackFrame = c.playbackFrame;
        ASSERT_TRUE(SelectDisplayedFrame(state));
        EXPECT_EQ(state.DisplayedContacts, uint32_t(c.shown));
        EXPECT_EQ(state.PlaybackFrame, c.playbackFrameAfter);
    }
}

TEST_F(DisplayedFrameTest, FollowCharacterCentresTheHipsUnlessThePositionIsForcedToZero)
{
    MakeTake(state, {});
    const Vector hips(10.0f, -4.0f, 40.0f);
    state.LiveFrame = PoseAt(hips);
    state.Live = state.FollowCharacter = 1;
    state.camera.ViewMatrix = Matrix::RotX(0.3f) * DefaultViewMatrix;
    state.camera.ViewWidth = 800, state.camera.ViewHeight = 600;
    ASSERT_TRUE(SelectDisplayedFrame(state));
    EXPECT_EQ(ProjectPoint(state.camera, hips), (PixelPoint{400, 300}));

    state.camera.PanX = state.camera.PanY = 7.0f; // where the user panned to
    state.ForcePositionChannelsZero = 1;
    ASSERT_TRUE(SelectDisplayedFrame(state));
    EXPECT_EQ(state.camera.PanX, 7.0f);
    EXPECT_EQ(state.camera.PanY, 7.0f);
}

TEST_F(DisplayedFrameTest, CenterViewFitsTheRestPoseTo85PercentOfTheViewHeight)
{
    VarnelInitSkeleton(&state.Skeleton);
    CenterView(state, shell);
    AddToBox(box);
    EXPECT_NEAR(box[3] - box[1], 510, 2);
    EXPECT_NEAR(box[1] + box[3], 600, 2);
    EXPECT_NEAR(box[0] + box[2], 800, 2);
    EXPECT_EQ(shell.repaints, 1);
}

TEST_F(DisplayedFrameTest, CenterSequenceDuringPlaybackFitsTheWholeTakeAndKeepsTheFrame)
{
    MakeTake(state, {PoseAt({-60, 0, 40}), PoseAt({0, 0, 40}), PoseAt({60, 0, 40})});
    state.Live = state.Playing = state.PlaybackFrame = 1;
    CenterSequence(state, shell);
    EXPECT_EQ(state.PlaybackFrame, 1);
    EXPECT_EQ(state.Live, 1);
    EXPECT_EQ(shell.repaints, 1);
    for (int i = 0; i < 3; i++) {
        VarnelApplyFrame(&state.Skeleton, &state.Skeleton.frames[i], 0, 0);
        AddToBox(box);
    }
    EXPECT_NEAR(box[2] - box[0], 680, 2); // wider than tall: 85 % of the width
    EXPECT_NEAR(box[0] + box[2], 800, 2);
}
} // namespace
