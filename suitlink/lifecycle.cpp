// Start and end of the library: the socket on the suit port and everything
// that hangs off it.
#include "suitlink/library_state.h"
#include "suitlink/lifecycle_turn.h"
#include "suitlink/receive_thread.h"
#include "suitlink/socket_error_text.h"
#include "suitlink/suit_port.h"
#include "suitlink/suit_table.h"
#include "suitlink/suit_timeouts.h"
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
    int socket = OpenUdpSocket(SuitPort(), &errorCode, &failedStep);
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
