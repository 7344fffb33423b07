// Suit datagrams and raw blocks for tests and benchmarks, written with the
// library's own encoder.
#pragma once

#include "common/suit_datagram.h"

#include <array>
#include <cstring>

using SuitRawBlock = std::array<uint8_t, SuitRawSize>;

inline SuitHeader MakeSuitHeader(const char* name, float frameRate = 60.0f, uint16_t flags = 0)
{
    SuitHeader header;
    header.flags = flags;
    header.frameRate = frameRate;
    SetSuitName(header, name);
    return header;
}

inline SuitDatagram MakeSuitDatagram(const SuitHeader& header, const SuitReadings& readings,
                                     uint32_t counter)
{
    SuitDatagram datagram;
    EncodeSuitDatagram(header, readings, counter, datagram);
    return datagram;
}

// The raw block of a datagram carrying readings and counter, as the library
// keeps it per suit.
inline SuitRawBlock MakeRawBlock(const SuitReadings& readings, uint32_t counter = 0)
{
    SuitDatagram datagram = MakeSuitDatagram(SuitHeader{}, readings, counter);
    SuitRawBlock raw;
    std::memcpy(raw.data(), datagram.data() + PacketRawOffset, SuitRawSize);
    return raw;
}

// A suit standing still: potentiometer i at 2000 + 13 i counts, each `bend`
// counts away from it, and an orientation and position that are not zero.
inline SuitReadings StandingReadings(int bend = 0)
{
    SuitReadings readings{{}, {5.0f, -7.0f, 100.0f}, {0.3f, 1.2f, 0.9f}};
    for (int i = 0; i < SuitChannelCount; i++)
        readings.channels[i] = uint16_t(2000 + 13 * i + bend);
    return readings;
}
