#include "suit_datagram.h"

#include <cstring>

namespace {
// Byte offsets of the fields.
constexpr std::size_t LengthOffset = 0;
constexpr std::size_t FlagsOffset = 2;
constexpr std::size_t FrameRateOffset = 8;
constexpr std::size_t NameOffset = 12;
constexpr std::size_t ChannelsOffset = 28;
constexpr std::size_t OrientationOffset = 124;
constexpr std::size_t PositionOffset = 136;
constexpr std::size_t CounterOffset = 148;

// Written byte by byte so the layout is little-endian on any host.
void PutUint16(SuitDatagram& datagram, std::size_t offset, uint16_t value)
{
    datagram[offset] = uint8_t(value);
    datagram[offset + 1] = uint8_t(value >> 8);
}

void PutUint32(SuitDatagram& datagram, std::size_t offset, uint32_t value)
{
    for (int byte = 0; byte < 4; byte++)
        datagram[offset + byte] = uint8_t(value >> (8 * byte));
}

void PutFloat(SuitDatagram& datagram, std::size_t offset, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutUint32(datagram, offset, bits);
}
} // namespace

void SetSuitName(SuitHeader& header, const char* name)
{
    std::memset(header.name, 0, sizeof header.name);
    std::strncpy(header.name, name, sizeof header.name - 1);
}

void EncodeSuitDatagram(const SuitHeader& header, const SuitReadings& readings, uint32_t counter,
                        SuitDatagram& datagram)
{
    datagram.fill(0);
    PutUint16(datagram, LengthOffset, uint16_t(SuitDatagramSize));
    PutUint16(datagram, FlagsOffset, header.flags);
    PutFloat(datagram, FrameRateOffset, header.frameRate);
    // Stops at the first NUL and never touches the field's last byte.
    for (std::size_t i = 0; i < SuitNameCapacity - 1 && header.name[i] != '\0'; i++)
        datagram[NameOffset + i] = uint8_t(header.name[i]);
    for (int channel = 0; channel < SuitChannelCount; channel++)
        PutUint16(datagram, ChannelsOffset + 2 * channel, readings.channels[channel]);
    for (int axis = 0; axis < 3; axis++) {
        PutFloat(datagram, OrientationOffset + 4 * axis, readings.orientation[axis]);
        PutFloat(datagram, PositionOffset + 4 * axis, readings.position[axis]);
    }
    PutUint32(datagram, CounterOffset, counter);
}
