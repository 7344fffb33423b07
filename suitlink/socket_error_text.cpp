#include "suitlink/socket_error_text.h"

#include "varnel.h"

#include <cstdio>

namespace {
// clang-format off
#define VARNEL_SOCKET_ERRORS(X)                                                                    \
    X(10004, "WSAEINTR: The (blocking) call was canceled through WSACancelBlockingCall")           \
    X(10014, "WSAEFAULT: Internal error")                                                          \
    X(10022, "WSAEINVAL: The socket is already bound to an address")                               \
    X(10036, "WSAEINPROGRESS: A blocking Windows Sockets 1.1 call is in progress, or the service " \
             "provider is still processing a callback function")                                  \
    X(10038, "WSAENOTSOCK: The descriptor is not a socket")                                        \
    X(10040, "WSAEMSGSIZE: The message was too large to fit into the specified buffer and was "    \
             "truncated")                                                                          \
    X(10045, "WSAEOPNOTSUPP: MSG_OOB was specified, but the socket is not stream-style such as "   \
             "type SOCK_STREAM, out-of-band data is not supported in the communication domain "    \
             "associated with this socket, or the socket is unidirectional and supports only "     \
             "send operations")                                                                    \
    X(10048, "WSAEADDRINUSE: A process on the machine is already bound to the same "               \
             "fully-qualified address")                                                            \
    X(10049, "WSAEADDRNOTAVAIL: The specified address is not a valid address for this machine")    \
    X(10050, "WSAENETDOWN: The network subsystem has failed")                                      \
    X(10052, "WSAENETRESET: The connection has been broken due to the 'keep-alive' activity "      \
             "detecting a failure while the operation was in progress")                            \
    X(10054, "WSAECONNRESET: The virtual circuit was reset by the remote side executing a 'hard' " \
             "or 'abortive' close. The application should close the socket as it is no longer "    \
             "usable. On a UDP datagram socket this error would indicate that a previous send "    \
             "operation resulted in an ICMP 'Port Unreachable' message")                           \
    X(10055, "WSAENOBUFS: Not enough buffers available, too many connections")                     \
    X(10056, "WSAEISCONN: The socket is connected. This function is not permitted with a "         \
             "connected socket, whether the socket is connection-oriented or connectionless")      \
    X(10058, "WSAESHUTDOWN: The socket has been shut down; it is not possible to recvfrom on a "   \
             "socket after shutdown has been invoked with how set to SD_RECEIVE or SD_BOTH")       \
    X(10060, "WSAETIMEDOUT: The connection has been dropped, because of a network failure or "     \
             "because the system on the other end went down without notice")                       \
    X(10067, "WSAEPROCLIM: Limit on the number of tasks supported by the Windows Sockets "         \
             "implementation has been reached")                                                    \
    X(10091, "WSASYSNOTREADY: The underlying network subsystem is not ready for network "          \
             "communication")                                                                      \
    X(10092, "WSAVERNOTSUPPORTED: The version of Windows Sockets support requested is not "        \
             "provided by this particular Windows Sockets implementation")                         \
    X(10093, "WSANOTINITIALISED: Internal error")
// clang-format on

// Holds the texts of unlisted codes; one per thread, so that the receive
// thread and a client thread never format into the same bytes.
thread_local char unrecognizedErrorText[80];
} // namespace

const char* SocketErrorText(int code)
{
    switch (code) {
#define VARNEL_SOCKET_ERROR_CASE(number, text)                                                     \
    case number: return text;
        VARNEL_SOCKET_ERRORS(VARNEL_SOCKET_ERROR_CASE)
#undef VARNEL_SOCKET_ERROR_CASE
    default:
        std::snprintf(unrecognizedErrorText, sizeof unrecognizedErrorText,
                      "Unrecognized error code %d", code);
        return unrecognizedErrorText;
    }
}

void ReportSocketError(const char* format, int code)
{
    // The longest text (10054) fits with room to spare.
    char message[512];
    std::snprintf(message, sizeof message, format, SocketErrorText(code));
    VarnelMessageBox(message);
}
