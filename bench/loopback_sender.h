// What every benchmark suit has in common: a loopback socket on a source port
// of its own that sends suit datagrams to port 8000, and the start of such a
// datagram.
#pragma once

#include "common/suit_datagram.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>

using SuitDatagram = std::array<uint8_t, SUIT_PACKET_SIZE>;

// The length, a nominal 120 frames/s and the name.
inline void WriteSuitHeader(SuitDatagram& packet, const char* name)
{
    packet[PacketLengthOffset] = SUIT_PACKET_SIZE;
    float rate = 120.0f;
    std::memcpy(&packet[PacketFrameRateOffset], &rate, sizeof rate);
    std::memcpy(&packet[PacketNameOffset], name, strnlen(name, SuitNameSize - 1));
}

class LoopbackSender {
  public:
    LoopbackSender()
    {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    }
    ~LoopbackSender() { close(fd); }
    LoopbackSender(const LoopbackSender&) = delete;
    LoopbackSender& operator=(const LoopbackSender&) = delete;

    // The address and port the datagrams come from, in network byte order.
    sockaddr_in Source() const
    {
        sockaddr_in local{};
        socklen_t length = sizeof local;
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
        return local;
    }

    void Send(const SuitDatagram& packet) const
    {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(SUIT_PORT);
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&target),
               sizeof target);
    }

  private:
    int fd = -1;
};
