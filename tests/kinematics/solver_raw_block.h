// Writing a suit's raw block field by field, little-endian as on the wire.
#pragma once

#include "common/suit_datagram.h"

#include <bit>
#include <cstdint>

inline void PutRaw32(uint8_t* block, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        block[offset + i] = uint8_t(value >> (8 * i));
}

inline void PutRawChannel(uint8_t* block, int channel, uint16_t counts)
{
    block[RawChannelsOffset + 2 * channel] = uint8_t(counts);
    block[RawChannelsOffset + 2 * channel + 1] = uint8_t(counts >> 8);
}

inline uint16_t RawChannel(const uint8_t* block, int channel)
{
    return ReadLittleEndian16(block + RawChannelsOffset + 2 * channel);
}

inline void PutRawOrientation(uint8_t* block, float first, float second, float third)
{
    PutRaw32(block, RawOrientationOffset, std::bit_cast<uint32_t>(first));
    PutRaw32(block, RawOrientationOffset + 4, std::bit_cast<uint32_t>(second));
    PutRaw32(block, RawOrientationOffset + 8, std::bit_cast<uint32_t>(third));
}

inline void PutRawPosition(uint8_t* block, float x, float y, float z)
{
    PutRaw32(block, RawPositionOffset, std::bit_cast<uint32_t>(x));
    PutRaw32(block, RawPositionOffset + 4, std::bit_cast<uint32_t>(y));
    PutRaw32(block, RawPositionOffset + 8, std::bit_cast<uint32_t>(z));
}

inline void PutRawCounter(uint8_t* block, uint32_t counter)
{
    PutRaw32(block, RawCounterOffset, counter);
}
