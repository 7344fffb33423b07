#include "viewer/displayed_frame.h"

#include "render/camera.h"
#include "viewer/engine.h"
#include "viewer/shell.h"

#include <algorithm>

namespace {
bool ShowsLiveFrame(const ViewerState& state)
{
    return state.Recording || (state.Live && !state.Playing);
}

// Copies the frame to show, so that neither the callback's next frame nor a
// growing take changes it while the skeleton is posed.
bool CopyFrameToShow(ViewerState& state, SkeletonFrame* frame)
{
    if (ShowsLiveFrame(state)) {
        std::lock_guard hold(state.liveFrameLock);
        *frame = state.LiveFrame;
        return true;
    }
    std::lock_guard hold(state.takeLock);
    const Skeleton& take = state.Skeleton;
    if (!take.frames)
        return false;
    int index = state.PlaybackFrame;
    if (index < 0 || index >= take.numFrames) {
        index = state.PlaybackFrame = 0;
        if (take.numFrames <= 0)
            return false;
    }
    *frame = take.frames[index];
    return true;
}

// Pans so that the hips project to the view's centre.
void FollowCharacter(ViewerState& state, const SkeletonFrame& frame)
{
    if (!state.FollowCharacter || state.ForcePositionChannelsZero)
        return;
    Camera& camera = state.camera;
    Vector hips(frame.channels[0], frame.channels[1], frame.channels[2]);
    camera.PanX = -camera.ViewMatrix.RowX().Dot(hips) * camera.ViewScale;
    camera.PanY = camera.ViewMatrix.RowY().Dot(hips) * camera.ViewScale;
}

// The box of the posed nodes in unscaled view coordinates, u rightward and
// w downward, as FitView takes it.
class ViewBounds {
  public:
    void Widen(const Camera& camera, const Skeleton& skeleton)
    {
        for (const SkeletonNode& node : skeleton.nodes) {
            float u = camera.ViewMatrix.RowX().Dot(node.worldPosition);
            float w = -camera.ViewMatrix.RowY().Dot(node.worldPosition);
            if (empty) {
                minU = maxU = u;
                minW = maxW = w;
                empty = false;
                continue;
            }
            minU = std::min(minU, u);
            maxU = std::max(maxU, u);
            minW = std::min(minW, w);
            maxW = std::max(maxW, w);
        }
    }

    void FitInto(ViewerState& state, Shell& shell) const
    {
        ViewSize view = shell.CurrentViewSize();
        FitView(state.camera, view.width, view.height, minU, minW, maxU, maxW);
        shell.Repaint();
    }

  private:
    bool empty = true;
    float minU = 0, minW = 0, maxU = 0, maxW = 0;
};
} // namespace

bool SelectDisplayedFrame(ViewerState& state)
{
    SkeletonFrame frame;
    if (!CopyFrameToShow(state, &frame))
        return false;
    FollowCharacter(state, frame);
    VarnelApplyFrame(&state.Skeleton, &frame, state.ForcePositionChannelsZero,
                     state.ForceAngleChannelsZero);
    state.DisplayedContacts = frame.contacts;
    return true;
}

void CenterView(ViewerState& state, Shell& shell)
{
    if (!SelectDisplayedFrame(state))
        return;
    ViewBounds bounds;
    bounds.Widen(state.camera, state.Skeleton);
    bounds.FitInto(state, shell);
}

void CenterSequence(ViewerState& state, Shell& shell)
{
    int frameCount = TakeFrameCount(state);
    if (frameCount <= 0)
        return;
    int savedLive = state.Live;
    int savedFrame = state.PlaybackFrame;
    state.Live = 0;
    ViewBounds bounds;
    bool everyFrameShown = true;
    for (int index = 0; index < frameCount && everyFrameShown; index++) {
        state.PlaybackFrame = index;
        everyFrameShown = SelectDisplayedFrame(state);
        if (everyFrameShown)
            bounds.Widen(state.camera, state.Skeleton);
    }
    state.Live = savedLive;
    state.PlaybackFrame = savedFrame;
    if (everyFrameShown)
        bounds.FitInto(state, shell);
}
