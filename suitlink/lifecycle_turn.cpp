#include "suitlink/lifecycle_turn.h"

#include "suitlink/frame_delivery.h"
#include "suitlink/suit_timeouts.h"

#include <condition_variable>
#include <mutex>

namespace {
std::mutex turnMutex;
std::condition_variable turnReturned;
bool turnHeld = false;
} // namespace

LifecycleTurn::LifecycleTurn()
{
    if (InsideFrameCallback())
        return;
    std::unique_lock hold(turnMutex);
    if (OnTimeoutThread() && turnHeld)
        return;
    turnReturned.wait(hold, [] { return !turnHeld; });
    turnHeld = true;
    taken = true;
}

LifecycleTurn::~LifecycleTurn()
{
    if (!taken)
        return;
    std::lock_guard hold(turnMutex);
    turnHeld = false;
    turnReturned.notify_all();
}
