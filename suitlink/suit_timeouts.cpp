#include "suitlink/suit_timeouts.h"

#include "platform/clock.h"
#include "platform/thread.h"
#include "suitlink/library_state.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <mutex>

namespace {
// Timeout threads started and not yet done with their slot. VarnelFinish and
// VarnelFindSuits wait for zero before they free the table.
std::mutex inFlightMutex;
std::condition_variable inFlightChanged;
int timeoutThreadsInFlight = 0;

thread_local bool onTimeoutThread = false;

void FinishInFlight()
{
    std::lock_guard hold(inFlightMutex);
    timeoutThreadsInFlight--;
    inFlightChanged.notify_all();
}

void TimeoutThreadMain(void* argument)
{
    onTimeoutThread = true;
    auto* slot = static_cast<SuitSlot*>(argument);
    TimeoutCallback callback = slot->timeoutCallback.load();
    // A suit closed since the timeout was started gets no call.
    if (callback && slot->frameCallback.load()) {
        try {
            callback(slot);
        } catch (...) {
            // A client's exception must not end the process.
        }
    }
    // The slot may be freed from here on: touch nothing of it.
    FinishInFlight();
}

void StartTimeoutThread(SuitSlot* slot)
{
    {
        std::lock_guard hold(inFlightMutex);
        timeoutThreadsInFlight++;
    }
    if (!StartDetachedThread(TimeoutThreadMain, slot))
        FinishInFlight();
}
} // namespace

bool OnTimeoutThread()
{
    return onTimeoutThread;
}

int RunTimeoutPass()
{
    uint32_t now = MillisecondCounter();
    int untilNext = INT32_MAX;
    for (int i = 0; i < library.suitCount; i++) {
        SuitSlot& slot = library.suitTable[i];
        if (!slot.frameCallback.load())
            continue;
        if (!slot.timeoutActive.load() && MoreThanTimeoutAfter(now, slot.lastReceiveTime.load())) {
            // The pass's own time: a clock read after the thread starts could
            // fall after a callback that ran meanwhile and push the next
            // timeout late.
            slot.timeoutStartTime.store(now);
            slot.timeoutActive.store(1);
            StartTimeoutThread(&slot);
        }
        if (slot.timeoutActive.load() && MoreThanTimeoutAfter(now, slot.timeoutStartTime.load()))
            slot.timeoutActive.store(0);
        uint32_t since =
            slot.timeoutActive.load() ? slot.timeoutStartTime.load() : slot.lastReceiveTime.load();
        untilNext = std::min(untilNext, MillisecondsUntilTimeout(now, since));
    }
    return untilNext;
}

void WaitForTimeoutThreads()
{
    int own = onTimeoutThread ? 1 : 0;
    std::unique_lock hold(inFlightMutex);
    inFlightChanged.wait(hold, [own] { return timeoutThreadsInFlight <= own; });
}
