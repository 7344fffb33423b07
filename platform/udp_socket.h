// The UDP socket the suits send to. Errors come back as Winsock-numbered
// codes (10048 for an address in use ...), the codes the library's error
// texts are keyed by.
#pragma once

#include <cstdint>

constexpr int InvalidSocket = -1;

// An IPv4 datagram socket bound to port (host order) on all interfaces, in
// non-blocking mode. Returns InvalidSocket and sets *errorCode on failure;
// *failedStep tells which step failed.
enum class SocketStep { Create, Bind, NonBlocking };
int OpenUdpSocket(uint16_t port, int* errorCode, SocketStep* failedStep);
void CloseUdpSocket(int socket);

enum class ReceiveStatus { Datagram, WouldBlock, Error };

struct ReceivedDatagram {
    int length;       // bytes placed in the buffer
    bool truncated;   // the datagram was longer than the buffer
    uint32_t address; // sender, network byte order
    uint16_t port;    // sender, network byte order
};

// Takes one datagram without blocking. On Error, *errorCode holds the code.
ReceiveStatus ReceiveDatagram(int socket, void* buffer, int capacity, ReceivedDatagram* datagram,
                              int* errorCode);

// Waits until a datagram is waiting or timeoutMilliseconds have passed.
// Returns true when the socket is readable (or in error).
bool WaitReadable(int socket, int timeoutMilliseconds);

// The Winsock-numbered code for an errno value; unmatched values come back
// as they are (they then print as "Unrecognized error code").
int SocketErrorCodeFromErrno(int errnoValue);
