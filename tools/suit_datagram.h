// The datagram a suit sends once per frame: 152 bytes, little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t SuitDatagramSize = 152;
constexpr std::size_t SuitNameCapacity = 16; // including the terminating NUL
constexpr int SuitChannelCount = 48;
constexpr int SuitChannelMaximum = 4095;

using SuitDatagram = std::array<uint8_t, SuitDatagramSize>;

// What the suit measured in one frame.
struct SuitReadings {
    uint16_t channels[SuitChannelCount]; // potentiometer counts
    float orientation[3];                // degrees
    float position[3];                   // meters
};

// What stays the same in every datagram of one suit.
struct SuitHeader {
    uint16_t flags;
    float frameRate;
    char name[SuitNameCapacity]; // NUL-terminated
};

// Copies name into header, keeping at most 15 bytes so the last byte stays NUL.
void SetSuitName(SuitHeader& header, const char* name);

void EncodeSuitDatagram(const SuitHeader& header, const SuitReadings& readings, uint32_t counter,
                        SuitDatagram& datagram);
