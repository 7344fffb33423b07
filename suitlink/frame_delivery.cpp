#include "suitlink/frame_delivery.h"

#include "suitlink/library_state.h"
#include "suitlink/suit_solve.h"

#include <mutex>

namespace {
thread_local bool insideFrameCallback = false;

// Clears the mark also when the callback throws.
class FrameCallbackScope {
  public:
    FrameCallbackScope() { insideFrameCallback = true; }
    ~FrameCallbackScope() { insideFrameCallback = false; }
    FrameCallbackScope(const FrameCallbackScope&) = delete;
    FrameCallbackScope& operator=(const FrameCallbackScope&) = delete;
};
} // namespace

void DefaultFrameCallback(const SkeletonFrame*, VarnelHandle)
{
}

bool InsideFrameCallback()
{
    return insideFrameCallback;
}

void CalibrateOnFirstDatagram(SuitSlot* slot)
{
    if (!slot->nullSet.load())
        CalibrateSuit(*slot, library.CurrentPose);
}

void DeliverFrame(SuitSlot* slot)
{
    // An exception from the callback unwinds through this guard, so the
    // receive thread never ends with the lock held.
    std::lock_guard hold(library.LibraryLock);
    SolvePose(*slot, library.CurrentPose);
    // Read once: VarnelClose may clear it at any moment without the lock.
    FrameCallback callback = slot->frameCallback.load();
    if (!callback || callback == DefaultFrameCallback)
        return;
    FrameCallbackScope scope;
    callback(&library.CurrentPose, slot);
}

void ProcessPendingFrames()
{
    for (int i = 0; i < library.suitCount; i++) {
        SuitSlot& slot = library.suitTable[i];
        uint32_t pending = slot.pendingFrames.exchange(0);
        if (pending == 0)
            continue;
        if (pending > 1)
            slot.droppedFrames.fetch_add(pending - 1);
        DeliverFrame(&slot);
    }
}

int VarnelRead(VarnelHandle suit, SkeletonFrame* pose)
{
    if (!suit || !pose || !suit->hasData.load())
        return 0;
    std::lock_guard hold(library.LibraryLock);
    // SolvePose calibrates an uncalibrated suit on this reading first.
    SolvePose(*suit, library.CurrentPose);
    *pose = library.CurrentPose;
    return 1;
}
