#include "tools/record/frame_capture.h"

#include "tools/cli/monotonic_clock.h"

FrameCapture& FrameCapture::Instance()
{
    static FrameCapture capture;
    return capture;
}

void FrameCapture::OnFrame(const SkeletonFrame* pose, VarnelHandle)
{
    FrameCapture& capture = Instance();
    capture.delivered.fetch_add(1);
    if (capture.recording.load())
        capture.Keep(*pose);
}

void FrameCapture::Start(Skeleton& into, uint64_t limit)
{
    take = &into;
    frameLimit = limit;
    recorded.store(0);
    limitReached.store(false);
    outOfMemory.store(false);
    // Last: the callback reads the take only once it sees this.
    recording.store(true);
}

void FrameCapture::Keep(const SkeletonFrame& pose)
{
    if (frameLimit != 0 && uint64_t(take->numFrames) >= frameLimit) {
        limitReached.store(true);
        return;
    }
    if (!VarnelAddFrame(take)) {
        outOfMemory.store(true);
        recording.store(false);
        return;
    }
    take->frames[take->numFrames - 1] = pose;
    lastFrameAt.store(MonotonicNanoseconds());
    recorded.store(uint64_t(take->numFrames));
}
