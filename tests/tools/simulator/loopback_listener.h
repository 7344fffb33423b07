// A listener on a free loopback port, standing in for the library: what a
// simulated suit sends, as the network delivered it.
#pragma once

#include "common/suit_datagram.h"
#include "tests/support/loopback_socket.h"
#include "tools/simulator/simulator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct Received {
    uint16_t sourcePort;
    std::vector<uint8_t> bytes;

    uint32_t Counter() const
    {
        uint32_t counter = 0;
        DecodeSuitReadings(bytes.data() + PacketRawOffset, &counter);
        return counter;
    }
    std::string Name() const { return DecodeSuitHeader(bytes.data()).name; }
    uint16_t Flags() const { return DecodeSuitHeader(bytes.data()).flags; }
    // Every reading of the frame: the raw block up to the counter.
    const uint8_t* Readings() const { return &bytes[PacketRawOffset]; }
};

class Listener {
  public:
    Listener() { EXPECT_TRUE(socket.Bound()); }

    // What arrives until the line has been quiet for a moment, or until
    // `maximum` datagrams have come.
    std::vector<Received> Drain(int quietMilliseconds = 200, size_t maximum = SIZE_MAX)
    {
        std::vector<Received> received;
        while (received.size() < maximum) {
            Received datagram{0, std::vector<uint8_t>(2048)};
            int size = socket.Receive(datagram.bytes.data(), int(datagram.bytes.size()),
                                      quietMilliseconds, &datagram.sourcePort);
            if (size < 0)
                break;
            datagram.bytes.resize(size_t(size));
            received.push_back(std::move(datagram));
        }
        return received;
    }

    LoopbackSocket socket;
    const uint16_t port = socket.Port();
};

// A suit that sends to the listener, a frame a millisecond.
inline SimulateOptions FastOptions(const Listener& listener)
{
    SimulateOptions options;
    options.destination = {"127.0.0.1", listener.port};
    options.rate = 1000.0;
    return options;
}
