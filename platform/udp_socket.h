// The UDP socket the suits send to. Errors come back as Winsock-numbered
// codes (10048 for an address in use ...), the codes the library's error
// texts are keyed by.
#pragma once

#include <cstddef>
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

// IPv4 addresses in host byte order, for the sending side below.
constexpr uint32_t AnyIpv4Address = 0;               // 0.0.0.0
constexpr uint32_t LoopbackIpv4Address = 0x7f000001; // 127.0.0.1

// A blocking IPv4 datagram socket bound to address and port (host order;
// port 0 takes a free one the system picks), for sending. Returns
// InvalidSocket and sets *errorCode on failure.
int OpenUdpSocketAt(uint32_t address, uint16_t port, int* errorCode);

// The port socket is bound to, host order; 0 when it cannot be told.
uint16_t BoundUdpPort(int socket);

// Sends size bytes as one datagram to address and port (host order).
// Returns false, with *errorCode set, unless the whole datagram went out.
bool SendDatagram(int socket, uint32_t address, uint16_t port, const void* bytes, size_t size,
                  int* errorCode);

// Waits until a datagram is waiting or timeoutMilliseconds have passed.
// Returns true when the socket is readable (or in error).
bool WaitReadable(int socket, int timeoutMilliseconds);

// The Winsock-numbered code for an errno value; unmatched values come back
// as they are (they then print as "Unrecognized error code").
int SocketErrorCodeFromErrno(int errnoValue);
