// Every message the library reports goes through VarnelMessageBox to the
// installed handler; without one it goes to standard error. The handler
// never runs with LibraryLock held: a handler that shows a window and waits
// for the user would otherwise stall the receive thread, or deadlock with a
// thread that waits for the lock. A message raised under the lock (a client
// calling a reporting function from its frame callback) is shown once the
// lock is given back.
#include "platform/message_report.h"
#include "suitlink/library_state.h"
#include "varnel.h"

#include <atomic>
#include <string>
#include <vector>

namespace {
// Null stands for the default, so that the default needs no initialisation
// order.
std::atomic<VarnelMessageHandler> installedHandler{nullptr};

// More than this many put off at once are dropped: a loop in a frame
// callback must not grow the memory.
constexpr size_t MaxDeferredMessages = 16;
thread_local std::vector<std::string> deferredMessages;

VarnelMessageHandler Effective(VarnelMessageHandler handler)
{
    return handler ? handler : ReportOnStandardError;
}

void ShowDeferredMessages()
{
    while (!deferredMessages.empty() && !library.LibraryLock.HeldByThisThread()) {
        std::string text = std::move(deferredMessages.front());
        deferredMessages.erase(deferredMessages.begin());
        Effective(installedHandler.load())(text.c_str());
    }
}
} // namespace

int VarnelMessageBox(const char* text)
{
    if (!text)
        text = "";
    if (library.LibraryLock.HeldByThisThread()) {
        if (deferredMessages.size() < MaxDeferredMessages)
            deferredMessages.emplace_back(text);
        library.LibraryLock.SetReleaseHook(ShowDeferredMessages);
        return 1; // OK: the only answer a message without a choice has
    }
    return Effective(installedHandler.load())(text);
}

VarnelMessageHandler VarnelSetMessageHandler(VarnelMessageHandler handler)
{
    return Effective(installedHandler.exchange(handler));
}
