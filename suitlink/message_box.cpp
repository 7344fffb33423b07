// Every message the library reports goes through VarnelMessageBox to the
// installed handler; without one it goes to standard error.
#include "platform/message_report.h"
#include "varnel.h"

#include <atomic>

namespace {
// Null stands for the default, so that the default needs no initialisation
// order.
std::atomic<VarnelMessageHandler> installedHandler{nullptr};

VarnelMessageHandler Effective(VarnelMessageHandler handler)
{
    return handler ? handler : ReportOnStandardError;
}
} // namespace

int VarnelMessageBox(const char* text)
{
    return Effective(installedHandler.load())(text ? text : "");
}

VarnelMessageHandler VarnelSetMessageHandler(VarnelMessageHandler handler)
{
    return Effective(installedHandler.exchange(handler));
}
