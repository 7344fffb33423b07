#include "common/suit_datagram.h"
#include "tests/support/suit_datagrams.h"
#include "varnel.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

namespace {
// By their bits, so that NaN and -0 count as what was sent.
bool SameFloat(float a, float b)
{
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

TEST(SuitDatagramRoundTrip, DecodersGiveBackWhatTheEncoderWrote)
{
    const struct {
        const char* name;
        uint16_t flags;
        float frameRate;
        uint32_t counter;
        uint16_t firstChannel; // channel i reads firstChannel + i
        float sensor;
    } cases[] = {
        {"Suit A", SUIT_HAS_POSITION_SENSOR, 60.0f, 0, 2000, 0.5f},
        {"ABCDEFGHIJKLMNO", 0xffff, 240.0f, 0xffffffffu, 65535 - 47, -1e30f},
        {"", 0x0100, std::nanf(""), 0x01020304, 0, -0.0f},
    };
    for (const auto& sent : cases) {
        SCOPED_TRACE(sent.name);
        SuitReadings readings;
        for (int i = 0; i < SuitChannelCount; i++)
            readings.channels[i] = uint16_t(sent.firstChannel + i);
        for (int axis = 0; axis < 3; axis++) {
            readings.orientation[axis] = sent.sensor * float(axis + 1);
            readings.position[axis] = -sent.sensor * float(axis + 2);
        }
        SuitDatagram datagram = MakeSuitDatagram(
            MakeSuitHeader(sent.name, sent.frameRate, sent.flags), readings, sent.counter);

        SuitHeader header = DecodeSuitHeader(datagram.data());
        EXPECT_EQ(header.flags, sent.flags);
        EXPECT_TRUE(SameFloat(header.frameRate, sent.frameRate));
        EXPECT_STREQ(header.name, sent.name);
        uint32_t counter = 0;
        SuitReadings decoded = DecodeSuitReadings(datagram.data() + PacketRawOffset, &counter);
        EXPECT_EQ(counter, sent.counter);
        EXPECT_EQ(std::memcmp(decoded.channels, readings.channels, sizeof readings.channels), 0);
        for (int axis = 0; axis < 3; axis++) {
            EXPECT_TRUE(SameFloat(decoded.orientation[axis], readings.orientation[axis])) << axis;
            EXPECT_TRUE(SameFloat(decoded.position[axis], readings.position[axis])) << axis;
        }
    }
}

TEST(SuitDatagramRoundTrip, ANameWithoutTerminatorIsCutAtItsSixteenthByte)
{
    SuitDatagram datagram = MakeSuitDatagram(MakeSuitHeader("ABCDEFGHIJKLMNO"), SuitReadings{}, 0);
    datagram[PacketNameOffset + SuitNameSize - 1] = 'P';
    datagram[PacketRawOffset] = 'Q'; // the first byte after the field
    EXPECT_STREQ(DecodeSuitHeader(datagram.data()).name, "ABCDEFGHIJKLMNO");
}
} // namespace
