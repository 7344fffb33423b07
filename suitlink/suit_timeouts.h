// Silence timeouts of open suits: each one runs the client's timeout callback
// on a short-lived thread of its own.
#pragma once

#include "common/suit_datagram.h"
#include "suitlink/suit_link_limits.h"

#include <cstdint>

// Receive thread, once per pass: starts a timeout for every open suit silent
// for more than SUIT_TIMEOUT_MS and re-arms those whose timeout started more
// than SUIT_TIMEOUT_MS ago. Returns the milliseconds until the next of these
// events is due (INT32_MAX when no suit is open), so the receiver need not
// wake before then.
int RunTimeoutPass();

// Returns once no timeout thread is left that could call back or touch a
// slot (on a timeout thread: none but the caller's own). Callers stop the
// receive thread first, so that no new one starts.
void WaitForTimeoutThreads();

// Whether the caller runs a timeout callback.
bool OnTimeoutThread();

// Whether now lies more than SUIT_TIMEOUT_MS after then. Signed difference,
// so the counter's wrap and a then written just after now was read are both
// harmless.
inline bool MoreThanTimeoutAfter(uint32_t now, uint32_t then)
{
    return int32_t(now - then) > int32_t(SUIT_TIMEOUT_MS);
}

// Milliseconds from now until a time counts as more than SUIT_TIMEOUT_MS
// after then; 0 when it already does.
inline int MillisecondsUntilTimeout(uint32_t now, uint32_t then)
{
    int32_t remaining = int32_t(then + SUIT_TIMEOUT_MS + 1 - now);
    return remaining > 0 ? remaining : 0;
}
