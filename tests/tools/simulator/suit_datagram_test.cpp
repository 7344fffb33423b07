#include "common/suit_datagram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {
void ExpectBytes(const SuitDatagram& datagram, std::size_t offset,
                 std::initializer_list<uint8_t> expected)
{
    std::size_t at = offset;
    for (uint8_t byte : expected) {
        EXPECT_EQ(datagram[at], byte) << "byte " << at;
        at++;
    }
}

SuitHeader MakeHeader(const char* name, uint16_t flags, float rate)
{
    SuitHeader header;
    header.flags = flags;
    header.frameRate = rate;
    SetSuitName(header, name);
    return header;
}

TEST(SuitDatagram, EveryFieldAtItsOffsetInLittleEndian)
{
    SuitHeader header = MakeHeader("Suit A", 2, 60.0f);
    SuitReadings readings{};
    readings.channels[0] = 0x0102;
    readings.channels[47] = 4095;
    readings.orientation[0] = 1.0f;
    readings.orientation[2] = -90.0f;
    readings.position[2] = -2.0f;
    SuitDatagram datagram;
    datagram.fill(0xee); // stale bytes must not survive
    EncodeSuitDatagram(header, readings, 0x01020304, datagram);

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
    SuitReadings readings{};
    SuitDatagram datagram;

    SuitHeader fifteen = MakeHeader("ABCDEFGHIJKLMNO", 0, 60.0f);
    EncodeSuitDatagram(fifteen, readings, 0, datagram);
    EXPECT_EQ(0, std::memcmp(&datagram[12], "ABCDEFGHIJKLMNO", 15));
    EXPECT_EQ(datagram[27], 0);

    SuitHeader twenty = MakeHeader("ABCDEFGHIJKLMNOPQRST", 0, 60.0f);
    EXPECT_STREQ(twenty.name, "ABCDEFGHIJKLMNO");
    EncodeSuitDatagram(twenty, readings, 0, datagram);
    EXPECT_EQ(0, std::memcmp(&datagram[12], "ABCDEFGHIJKLMNO", 15));
    EXPECT_EQ(datagram[27], 0);
    EXPECT_EQ(datagram[28], 0) << "the name spilled into the channels";

    // A header filled by hand without a NUL still cannot overrun the field.
    SuitHeader unterminated = fifteen;
    std::memset(unterminated.name, 'x', sizeof unterminated.name);
    EncodeSuitDatagram(unterminated, readings, 0, datagram);
    EXPECT_EQ(datagram[26], 'x');
    EXPECT_EQ(datagram[27], 0);
}
} // namespace
