#include "common/suit_datagram.h"
#include "tests/support/suit_datagrams.h"
#include "varnel.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {
void ExpectBytes(const SuitDatagram& datagram, size_t offset,
                 std::initializer_list<uint8_t> expected)
{
    for (uint8_t byte : expected) {
        EXPECT_EQ(datagram[offset], byte) << "byte " << offset;
        offset++;
    }
}

TEST(SuitDatagram, EveryFieldAtItsOffsetInLittleEndian)
{
    SuitReadings readings{};
    readings.channels[0] = 0x0102;
    readings.channels[47] = 4095;
    readings.orientation[0] = 1.0f;
    readings.orientation[2] = -90.0f;
    readings.position[2] = -2.0f;
    SuitDatagram datagram;
    datagram.fill(0xee); // stale bytes must not survive
    EncodeSuitDatagram(MakeSuitHeader("Suit A", 60.0f, 2), readings, 0x01020304, datagram);

    ExpectBytes(datagram, 0, {152, 0});
    ExpectBytes(datagram, 2, {2, 0});
    ExpectBytes(datagram, 4, {0, 0, 0, 0});
    ExpectBytes(datagram, 8, {0x00, 0x00, 0x70, 0x42}); // 60.0f
    ExpectBytes(datagram, 12, {'S', 'u', 'i', 't', ' ', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    ExpectBytes(datagram, 28, {0x02, 0x01, 0, 0});
    ExpectBytes(datagram, 28 + 2 * 47, {0xff, 0x0f});
    ExpectBytes(datagram, 124, {0x00, 0x00, 0x80, 0x3f}); // 1.0f
    ExpectBytes(datagram, 132, {0x00, 0x00, 0xb4, 0xc2}); // -90.0f
    ExpectBytes(datagram, 136, {0, 0, 0, 0, 0, 0, 0, 0}); // position x, y
    ExpectBytes(datagram, 144, {0x00, 0x00, 0x00, 0xc0}); // -2.0f
    ExpectBytes(datagram, 148, {0x04, 0x03, 0x02, 0x01});
}

TEST(SuitDatagram, NameKeepsAtMostFifteenBytesAndEndsInNul)
{
    SuitHeader twenty = MakeSuitHeader("ABCDEFGHIJKLMNOPQRST");
    EXPECT_STREQ(twenty.name, "ABCDEFGHIJKLMNO");
    SuitDatagram datagram = MakeSuitDatagram(twenty, SuitReadings{}, 0);
    EXPECT_EQ(0, std::memcmp(&datagram[12], "ABCDEFGHIJKLMNO", 15));
    EXPECT_EQ(datagram[27], 0);
    EXPECT_EQ(datagram[28], 0) << "the name spilled into the channels";

    // A header filled by hand without a NUL still cannot overrun the field.
    SuitHeader unterminated = twenty;
    std::memset(unterminated.name, 'x', sizeof unterminated.name);
    datagram = MakeSuitDatagram(unterminated, SuitReadings{}, 0);
    EXPECT_EQ(datagram[26], 'x');
    EXPECT_EQ(datagram[27], 0);

    // A received name without a terminator is cut at its sixteenth byte.
    datagram = MakeSuitDatagram(twenty, SuitReadings{}, 0);
    datagram[PacketNameOffset + SuitNameSize - 1] = 'P';
    datagram[PacketRawOffset] = 'Q'; // the first byte after the field
    EXPECT_STREQ(DecodeSuitHeader(datagram.data()).name, "ABCDEFGHIJKLMNO");
}

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
} // namespace
