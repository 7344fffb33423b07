// The client's calls on the suit table: pick, open and close a suit, read its
// statistics and raw readings, switch its position sensor.
#include "common/suit_datagram.h"
#include "platform/clock.h"
#include "suitlink/frame_delivery.h"
#include "suitlink/library_state.h"
#include "suitlink/suit_link_limits.h"
#include "suitlink/suit_table.h"
#include "varnel.h"

#include <cmath>
#include <cstring>
#include <mutex>

// The table calls take LibraryLock: VarnelFindSuits may replace the table
// from another thread at any moment, and does so under the lock.
int VarnelNumSuits(void)
{
    std::lock_guard hold(library.LibraryLock);
    return library.suitCount;
}

int VarnelEnumerateSuitInfo(int index, SuitInfo* info)
{
    std::lock_guard hold(library.LibraryLock);
    if (!info || index < 0 || index >= library.suitCount)
        return 0;
    *info = SuitInfoOf(library.suitTable[index]);
    return 1;
}

void VarnelGetSuitInfo(VarnelHandle suit, SuitInfo* info)
{
    if (!info)
        return;
    if (!suit) {
        std::memset(info, 0, sizeof *info);
        return;
    }
    *info = SuitInfoOf(*suit);
}

VarnelHandle VarnelHandleFromInfo(const SuitInfo* info)
{
    if (!info)
        return nullptr;
    std::lock_guard hold(library.LibraryLock);
    return FindOpenSlot(info->address, info->port);
}

VarnelHandle VarnelOpen(const SuitInfo* info, FrameCallback onFrame, TimeoutCallback onTimeout)
{
    std::lock_guard hold(library.LibraryLock);
    for (int i = 0; i < library.suitCount; i++) {
        SuitSlot& slot = library.suitTable[i];
        if (slot.frameCallback.load())
            continue;
        if (info && (slot.address != info->address || slot.port != info->port))
            continue;
        // The first timeout comes SUIT_TIMEOUT_MS after opening if nothing
        // arrives.
        slot.lastReceiveTime.store(MillisecondCounter());
        slot.timeoutActive.store(0);
        slot.droppedFrames.store(0);
        slot.pendingFrames.store(0);
        slot.positionSensorEnabled.store(0);
        slot.timeoutCallback.store(onTimeout);
        // Last: from here on the receive thread treats the slot as open.
        slot.frameCallback.store(onFrame ? onFrame : DefaultFrameCallback);
        return &slot;
    }
    return nullptr;
}

void VarnelClose(VarnelHandle suit)
{
    if (suit)
        suit->frameCallback.store(nullptr);
}

float VarnelGetFrameRate(VarnelHandle suit)
{
    if (!suit)
        return 0.0f;
    // Callers divide by it; a suit reporting less than one frame a second, or
    // no number at all, counts as one.
    float rate = suit->frameRate;
    return std::isfinite(rate) && rate >= 1.0f ? rate : 1.0f;
}

uint32_t VarnelGetDropped(VarnelHandle suit)
{
    return suit ? suit->droppedFrames.load() : 0;
}

void VarnelClearDropped(VarnelHandle suit)
{
    if (suit)
        suit->droppedFrames.store(0);
}

void VarnelGetRaw(VarnelHandle suit, uint16_t channels[48])
{
    if (!suit || !channels)
        return;
    // Under the lock, so the channels all come from one datagram.
    std::lock_guard hold(library.LibraryLock);
    SuitReadings readings = DecodeSuitReadings(suit->raw);
    std::memcpy(channels, readings.channels, sizeof readings.channels);
}

void VarnelEnablePositionSensor(VarnelHandle suit, int enable)
{
    if (!suit)
        return;
    int wanted = enable && (suit->flags & SUIT_HAS_POSITION_SENSOR) ? 1 : 0;
    // Under the lock, so that no solve sees the new setting with the old
    // calibration.
    std::lock_guard hold(library.LibraryLock);
    if (wanted == suit->positionSensorEnabled.load())
        return;
    suit->positionSensorEnabled.store(wanted);
    suit->nullSet.store(0);
}
