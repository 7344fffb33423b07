#include "common/suit_datagram.h"

#include <cstring>

void SetSuitName(SuitHeader& header, const char* name)
{
    std::memset(header.name, 0, sizeof header.name);
    std::strncpy(header.name, name, sizeof header.name - 1);
}

void EncodeSuitDatagram(const SuitHeader& header, const SuitReadings& readings, uint32_t counter,
                        SuitDatagram& datagram)
{
    datagram.fill(0);
    uint8_t* bytes = datagram.data();
    WriteLittleEndian16(bytes + PacketLengthOffset, uint16_t(SUIT_PACKET_SIZE));
    WriteLittleEndian16(bytes + PacketFlagsOffset, header.flags);
    WriteLittleEndianFloat(bytes + PacketFrameRateOffset, header.frameRate);
    // Stops at the first NUL and never touches the field's last byte.
    for (size_t i = 0; i < SuitNameSize - 1 && header.name[i] != '\0'; i++)
        bytes[PacketNameOffset + i] = uint8_t(header.name[i]);
    uint8_t* raw = bytes + PacketRawOffset;
    for (int channel = 0; channel < SuitChannelCount; channel++)
        WriteLittleEndian16(raw + RawChannelsOffset + 2 * channel, readings.channels[channel]);
    for (int axis = 0; axis < 3; axis++) {
        WriteLittleEndianFloat(raw + RawOrientationOffset + 4 * axis, readings.orientation[axis]);
        WriteLittleEndianFloat(raw + RawPositionOffset + 4 * axis, readings.position[axis]);
    }
    WriteLittleEndian32(raw + RawCounterOffset, counter);
}

SuitHeader DecodeSuitHeader(const uint8_t* datagram)
{
    SuitHeader header;
    header.flags = ReadLittleEndian16(datagram + PacketFlagsOffset);
    header.frameRate = ReadLittleEndianFloat(datagram + PacketFrameRateOffset);
    const char* name = reinterpret_cast<const char*>(datagram + PacketNameOffset);
    std::memcpy(header.name, name, strnlen(name, SuitNameSize - 1));
    return header;
}

SuitReadings DecodeSuitReadings(const uint8_t* raw, uint32_t* counter)
{
    SuitReadings readings;
    for (int channel = 0; channel < SuitChannelCount; channel++)
        readings.channels[channel] = ReadLittleEndian16(raw + RawChannelsOffset + 2 * channel);
    for (int axis = 0; axis < 3; axis++) {
        readings.orientation[axis] = ReadLittleEndianFloat(raw + RawOrientationOffset + 4 * axis);
        readings.position[axis] = ReadLittleEndianFloat(raw + RawPositionOffset + 4 * axis);
    }
    if (counter)
        *counter = ReadLittleEndian32(raw + RawCounterOffset);
    return readings;
}
