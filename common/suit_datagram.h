// The datagram a suit sends for each frame: 152 bytes, little-endian. This is
// the one description of its layout: the library reads it, the simulator,
// the tests and the benchmarks write it with the encoder below.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

constexpr uint16_t SUIT_PORT = 8000;
constexpr int SUIT_PACKET_SIZE = 152;

constexpr size_t SuitNameSize = 16; // including the terminating NUL
constexpr int SuitChannelCount = 48;
constexpr int SuitChannelMaximum = 4095; // 12-bit potentiometer counts

// Header fields, as byte offsets into the datagram.
constexpr size_t PacketLengthOffset = 0;    // uint16, always 152
constexpr size_t PacketFlagsOffset = 2;     // uint16, SUIT_HAS_POSITION_SENSOR
constexpr size_t PacketFrameRateOffset = 8; // float, nominal frames per second
constexpr size_t PacketNameOffset = 12;     // char[16], NUL-terminated
constexpr size_t PacketRawOffset = 28;      // the raw block runs to the end

// The raw block (bytes 28..151), which the library keeps verbatim per suit.
constexpr size_t SuitRawSize = 124;
constexpr size_t RawChannelsOffset = 0; // 48 x uint16, potentiometer counts
constexpr size_t RawChannelsSize = 96;
constexpr size_t RawOrientationOffset = 96; // 3 floats, degrees
constexpr size_t RawPositionOffset = 108;   // 3 floats, meters
constexpr size_t RawCounterOffset = 120;    // uint32

static_assert(PacketRawOffset + SuitRawSize == size_t(SUIT_PACKET_SIZE));

using SuitDatagram = std::array<uint8_t, SUIT_PACKET_SIZE>;

// What stays the same in every datagram of one suit.
struct SuitHeader {
    uint16_t flags = 0;
    float frameRate = 0.0f;
    char name[SuitNameSize] = {}; // NUL-terminated
};

// What the suit measured in one frame.
struct SuitReadings {
    uint16_t channels[SuitChannelCount] = {}; // potentiometer counts
    float orientation[3] = {};                // degrees
    float position[3] = {};                   // meters
};

// Copies name into header, keeping at most 15 bytes so the last stays NUL.
void SetSuitName(SuitHeader& header, const char* name);

// The whole datagram, length field included; no byte of the previous
// content survives.
void EncodeSuitDatagram(const SuitHeader& header, const SuitReadings& readings, uint32_t counter,
                        SuitDatagram& datagram);

// The header of a received datagram; the name is cut at its 16th byte.
SuitHeader DecodeSuitHeader(const uint8_t* datagram);

// The readings and counter of a raw block.
SuitReadings DecodeSuitReadings(const uint8_t* raw, uint32_t* counter = nullptr);

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

// Written byte by byte so the layout is little-endian on any host.
inline void WriteLittleEndian16(uint8_t* bytes, uint16_t value)
{
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}

inline void WriteLittleEndian32(uint8_t* bytes, uint32_t value)
{
    for (int byte = 0; byte < 4; byte++)
        bytes[byte] = uint8_t(value >> (8 * byte));
}

inline void WriteLittleEndianFloat(uint8_t* bytes, float value)
{
    WriteLittleEndian32(bytes, std::bit_cast<uint32_t>(value));
}
