// Start and end of the library: the socket on port 8000 and everything that
// hangs off it.
#include "library_state.h"
#include "lifecycle_turn.h"
#include "receive_thread.h"
#include "socket_error_text.h"
#include "suit_table.h"
#include "suit_timeouts.h"
#include "varnel.h"

namespace {
void TearDown()
{
    StopReceiveThread();
    // After this no callback runs and nobody holds a handle into the table.
    WaitForTimeoutThreads();
    if (library.socket != InvalidSocket) {
        CloseUdpSocket(library.socket);
        library.socket = InvalidSocket;
    }
    FreeSuitTable();
    library.initialized = false;
}
} // namespace

int VarnelInit(void)
{
    LifecycleTurn turn;
    if (!turn.Taken())
        return 0;
    TearDown();
    int errorCode = 0;
    SocketStep failedStep = SocketStep::Create;
    int socket = OpenUdpSocket(SUIT_PORT, &errorCode, &failedStep);
    if (socket == InvalidSocket) {
        // A socket that cannot be created fails at its bind on other systems,
        // so it is reported as that step.
        ReportSocketError(failedStep == SocketStep::NonBlocking ? "Socket ioctlsocket error %s"
                                                                : "Socket bind error %s",
                          errorCode);
        return 0;
    }
    library.socket = socket;
    library.initialized = true;
    return 1;
}

void VarnelFinish(void)
{
    LifecycleTurn turn;
    if (turn.Taken())
        TearDown();
}
