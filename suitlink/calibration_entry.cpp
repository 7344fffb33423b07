// VarnelSetNull: calibrate a suit on its current reading, waiting for its
// first datagram if none has arrived.
#include "platform/clock.h"
#include "suitlink/frame_delivery.h"
#include "suitlink/library_state.h"
#include "suitlink/suit_solve.h"
#include "varnel.h"

#include <mutex>

namespace {
constexpr uint32_t FirstDatagramPollMilliseconds = 16;

enum class WaitStep { Done, Again };

// One look at the slot, under the lock; the handle is only touched while the
// table it points into is still the one it came from.
WaitStep CalibrateIfData(SuitSlot* suit, uint32_t generation)
{
    std::lock_guard hold(library.LibraryLock);
    if (library.tableGeneration != generation)
        return WaitStep::Done;
    if (suit->hasData.load()) {
        CalibrateSuit(*suit, library.CurrentPose);
        return WaitStep::Done;
    }
    // Only the receive thread stores datagrams: once it is told to stop, or
    // when it is the caller (from a frame callback), none can arrive.
    // Giving up also lets VarnelFinish join a timeout thread that waits here.
    if (!library.receiveRunning.load() || InsideFrameCallback())
        return WaitStep::Done;
    return WaitStep::Again;
}
} // namespace

void VarnelSetNull(VarnelHandle suit)
{
    if (!suit)
        return;
    uint32_t generation;
    {
        std::lock_guard hold(library.LibraryLock);
        generation = library.tableGeneration;
    }
    // The sleep is outside the lock: the receive thread needs it to store the
    // datagram that ends the wait.
    while (CalibrateIfData(suit, generation) == WaitStep::Again)
        SleepMilliseconds(FirstDatagramPollMilliseconds);
}
