// A listener on a free loopback port, standing in for the library: what a
// simulated suit sends, as the network delivered it.
#pragma once

#include "tools/simulator/simulator.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

struct Received {
    uint16_t sourcePort;
    std::vector<uint8_t> bytes;

    uint32_t Counter() const
    {
        return uint32_t(bytes[148]) | uint32_t(bytes[149]) << 8 | uint32_t(bytes[150]) << 16 |
               uint32_t(bytes[151]) << 24;
    }
    std::string Name() const { return reinterpret_cast<const char*>(&bytes[12]); }
};

class Listener {
  public:
    Listener()
    {
        socket = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // Room for every datagram of a test, read only after the run.
        int bufferSize = 1 << 20;
        setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &bufferSize, sizeof bufferSize);
        EXPECT_EQ(bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
        socklen_t length = sizeof local;
        getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length);
        port = ntohs(local.sin_port);
    }
    ~Listener() { close(socket); }

    // What arrives until the line has been quiet for a moment, or until
    // `maximum` datagrams have come.
    std::vector<Received> Drain(int quietMilliseconds = 200, size_t maximum = SIZE_MAX)
    {
        std::vector<Received> received;
        pollfd watch{socket, POLLIN, 0};
        while (received.size() < maximum && poll(&watch, 1, quietMilliseconds) > 0) {
            Received datagram;
            datagram.bytes.resize(2048);
            sockaddr_in sender{};
            socklen_t senderLength = sizeof sender;
            ssize_t size = recvfrom(socket, datagram.bytes.data(), datagram.bytes.size(), 0,
                                    reinterpret_cast<sockaddr*>(&sender), &senderLength);
            if (size < 0)
                break;
            datagram.bytes.resize(size_t(size));
            datagram.sourcePort = ntohs(sender.sin_port);
            received.push_back(std::move(datagram));
        }
        return received;
    }

    int socket;
    uint16_t port;
};

// A suit that sends to the listener, a frame a millisecond.
inline SimulateOptions FastOptions(const Listener& listener)
{
    SimulateOptions options;
    options.destination = {"127.0.0.1", listener.port};
    options.rate = 1000.0;
    return options;
}
