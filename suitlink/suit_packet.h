// The datagram a suit sends for each frame: 152 bytes, little-endian.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

constexpr uint16_t SUIT_PORT = 8000;
constexpr int SUIT_PACKET_SIZE = 152;
constexpr uint32_t SUIT_TIMEOUT_MS = 1000;
constexpr uint32_t DISCOVERY_WINDOW_MS = 1000;
// A real network holds a handful of suits; a flood from many sources must
// not grow the table without end.
constexpr int MaxSuits = 256;

// Header fields, as byte offsets into the datagram.
constexpr size_t PacketLengthOffset = 0;    // uint16, always 152
constexpr size_t PacketFlagsOffset = 2;     // uint16, SUIT_HAS_POSITION_SENSOR
constexpr size_t PacketFrameRateOffset = 8; // float, nominal frames per second
constexpr size_t PacketNameOffset = 12;     // char[16], NUL-terminated
constexpr size_t PacketRawOffset = 28;      // the raw block runs to the end

constexpr size_t SuitNameSize = 16;
constexpr size_t SuitRawSize = 124;

// The raw block (bytes 28..151), kept verbatim per suit.
constexpr size_t RawChannelsOffset = 0; // 48 x uint16, potentiometer counts
constexpr size_t RawChannelsSize = 96;
constexpr size_t RawOrientationOffset = 96; // 3 floats, degrees
constexpr size_t RawPositionOffset = 108;   // 3 floats, meters
constexpr size_t RawCounterOffset = 120;    // uint32

inline uint16_t ReadLittleEndian16(const uint8_t* bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

inline uint32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

inline float ReadLittleEndianFloat(const uint8_t* bytes)
{
    return std::bit_cast<float>(ReadLittleEndian32(bytes));
}
