// errno values and the Winsock codes whose texts describe them.
#include "platform/udp_socket.h"

#include <cerrno>

int SocketErrorCodeFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case EINTR: return 10004;       // WSAEINTR
    case EFAULT: return 10014;      // WSAEFAULT
    case EINVAL: return 10022;      // WSAEINVAL
    case EINPROGRESS: return 10036; // WSAEINPROGRESS
    case EBADF:
    case ENOTSOCK: return 10038;      // WSAENOTSOCK
    case EMSGSIZE: return 10040;      // WSAEMSGSIZE
    case EOPNOTSUPP: return 10045;    // WSAEOPNOTSUPP
    case EADDRINUSE: return 10048;    // WSAEADDRINUSE
    case EADDRNOTAVAIL: return 10049; // WSAEADDRNOTAVAIL
    case ENETDOWN: return 10050;      // WSAENETDOWN
    case ENETRESET: return 10052;     // WSAENETRESET
    case ECONNREFUSED:
    case ECONNRESET: return 10054; // WSAECONNRESET
    case ENOBUFS:
    case ENOMEM: return 10055;    // WSAENOBUFS
    case EISCONN: return 10056;   // WSAEISCONN
    case ESHUTDOWN: return 10058; // WSAESHUTDOWN
    case ETIMEDOUT: return 10060; // WSAETIMEDOUT
    case EMFILE:
    case ENFILE: return 10067; // WSAEPROCLIM
    default: return errnoValue;
    }
}
