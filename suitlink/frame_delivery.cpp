#include "frame_delivery.h"

#include "library_state.h"

#include <mutex>

void DefaultFrameCallback(const SkeletonFrame*, VarnelHandle)
{
}

void CalibrateOnFirstDatagram(SuitSlot* slot)
{
    // The calibration of the pose solver plugs in here: when slot->nullSet is
    // clear it calibrates the suit (VarnelSetNull) on the datagram just
    // stored. Until the solver exists nothing is calibrated.
    (void)slot;
}

void DeliverFrame(SuitSlot* slot)
{
    std::lock_guard hold(library.LibraryLock);
    // The pose solver plugs in here: it solves slot->raw into CurrentPose,
    // then the slot's frame callback, unless it is DefaultFrameCallback, gets
    // &CurrentPose and the handle, all under the lock. Until the solver
    // exists no frame is solved and no frame callback runs.
    (void)slot;
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
