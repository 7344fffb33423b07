#include "tools/record/frame_capture.h"

#include "tools/cli/monotonic_clock.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace {
// Taken by the receive thread under the library lock, and by the recorder
// without it: nothing here may wait for the library lock.
std::mutex attachedLock;
std::vector<std::pair<VarnelHandle, FrameCapture*>> attached;
} // namespace

FrameCapture::~FrameCapture()
{
    std::lock_guard<std::mutex> hold(attachedLock);
    std::erase_if(attached, [this](const auto& entry) { return entry.second == this; });
}

void FrameCapture::Attach(VarnelHandle suit)
{
    std::lock_guard<std::mutex> hold(attachedLock);
    attached.emplace_back(suit, this);
}

void FrameCapture::OnFrame(const SkeletonFrame* pose, VarnelHandle suit)
{
    // Held through the delivery, so that a capture is never destroyed under it.
    std::lock_guard<std::mutex> hold(attachedLock);
    auto found = std::find_if(attached.begin(), attached.end(),
                              [suit](const auto& entry) { return entry.first == suit; });
    if (found != attached.end())
        found->second->Deliver(*pose);
}

void FrameCapture::Deliver(const SkeletonFrame& pose)
{
    delivered.fetch_add(1);
    if (recording.load())
        Keep(pose);
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
    if (raw)
        raw->Mark(RawKept);
    lastFrameAt.store(MonotonicNanoseconds());
    recorded.store(uint64_t(take->numFrames));
}
