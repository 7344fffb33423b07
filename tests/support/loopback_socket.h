// A UDP socket on the loopback network for tests and benchmarks, made with
// the platform's calls: bound to an address and port of its own, it sends
// datagrams to a port on 127.0.0.1 and takes those sent to it.
#pragma once

#include "platform/udp_socket.h"
#include "varnel.h"

#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>

class LoopbackSocket {
  public:
    // address and port in host order; port 0 takes a free one.
    explicit LoopbackSocket(uint32_t address = LoopbackIpv4Address, uint16_t port = 0)
        : address(address), socket(Open(address, port))
    {
    }
    ~LoopbackSocket() { CloseUdpSocket(socket); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    bool Bound() const { return socket != InvalidSocket; }
    uint16_t Port() const { return BoundUdpPort(socket); }
    // How a receiver knows this socket as a sender: address and port in
    // network byte order, as the suit table keeps them.
    SuitInfo Identity() const
    {
        SuitInfo info{};
        info.address = htonl(address);
        info.port = htons(Port());
        return info;
    }

    // Sends one datagram to 127.0.0.1:port (host order). True when it went out.
    bool SendTo(uint16_t port, const void* bytes, size_t size) const
    {
        int errorCode = 0;
        return SendDatagram(socket, LoopbackIpv4Address, port, bytes, size, &errorCode);
    }

    // Waits up to timeoutMilliseconds for a datagram and takes it: its
    // length, or -1 when none came. *senderPort gets its source port (host
    // order).
    int Receive(void* buffer, int capacity, int timeoutMilliseconds, uint16_t* senderPort) const
    {
        ReceivedDatagram datagram{};
        int errorCode = 0;
        if (!WaitReadable(socket, timeoutMilliseconds) ||
            ReceiveDatagram(socket, buffer, capacity, &datagram, &errorCode) !=
                ReceiveStatus::Datagram)
            return -1;
        *senderPort = ntohs(datagram.port);
        return datagram.length;
    }

  private:
    static int Open(uint32_t address, uint16_t port)
    {
        int errorCode = 0;
        return OpenUdpSocketAt(address, port, &errorCode);
    }

    uint32_t address;
    int socket;
};

// A UDP port no socket holds: the system's pick for a socket that is closed
// again at once, for a test to give to the library.
inline uint16_t FreeUdpPort()
{
    int errorCode = 0;
    int socket = OpenUdpSocketAt(AnyIpv4Address, 0, &errorCode);
    uint16_t port = BoundUdpPort(socket);
    CloseUdpSocket(socket);
    return port;
}
