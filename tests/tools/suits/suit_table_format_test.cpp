#include "tools/suits/suit_table_format.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>

namespace {
SuitInfo MakeSuit(const char* address, uint16_t port, const char* name, float rate, uint16_t flags)
{
    SuitInfo suit{};
    inet_pton(AF_INET, address, &suit.address);
    suit.port = htons(port);
    std::strncpy(suit.name, name, sizeof suit.name - 1);
    suit.frameRate = rate;
    suit.flags = flags;
    return suit;
}

TEST(SuitTable, AlignedRowsInTableOrder)
{
    std::vector<SuitInfo> suits{MakeSuit("10.0.0.1", 6000, "Left", 59.94f, 0),
                                MakeSuit("192.168.100.200", 256, "Simulated suit", 120.0f, 2 | 1)};
    EXPECT_EQ(FormatSuitTable(suits),
              "Index  Address              Name            Rate   Position sensor\n"
              "0      10.0.0.1:6000        Left            59.94  no\n"
              "1      192.168.100.200:256  Simulated suit  120    yes\n");
}

TEST(SuitTable, NamesCannotBreakTheTerminalOrTheColumns)
{
    SuitInfo escape = MakeSuit("127.0.0.1", 5000, "\x1b[2Jx\n\xc2\x9b", 60.0f, 0);
    SuitInfo accented = MakeSuit("127.0.0.1", 5001, "Jos\xc3\xa9", 60.0f, 0);
    // A name without its NUL ends at the field's end.
    SuitInfo unterminated = MakeSuit("127.0.0.1", 5002, "", 60.0f, 0);
    std::memset(unterminated.name, 'n', sizeof unterminated.name);
    EXPECT_EQ(FormatSuitTable({escape, accented, unterminated}),
              "Index  Address         Name              Rate  Position sensor\n"
              "0      127.0.0.1:5000  ?[2Jx??           60    no\n"
              "1      127.0.0.1:5001  Jos\xc3\xa9              60    no\n"
              "2      127.0.0.1:5002  nnnnnnnnnnnnnnnn  60    no\n");
}
} // namespace

namespace {
TEST(SuitTable, JsonKeepsNamesWholeAndEscaped)
{
    SuitInfo quoted = MakeSuit("10.0.0.1", 6000, "Say \"hi\"\\\x1b", 59.94f, 0);
    SuitInfo accented = MakeSuit("192.168.100.200", 256, "Jos\xc3\xa9\xff", 120.0f, 2 | 1);
    SuitInfo unterminated = MakeSuit("127.0.0.1", 5002, "", 60.0f, 0);
    std::memset(unterminated.name, 'n', sizeof unterminated.name);
    EXPECT_EQ(FormatSuitJson({quoted, accented, unterminated}),
              "[{\"index\":0,\"address\":\"10.0.0.1\",\"port\":6000,"
              "\"name\":\"Say \\\"hi\\\"\\\\\\u001b\",\"rate\":59.94,\"positionSensor\":false},"
              "{\"index\":1,\"address\":\"192.168.100.200\",\"port\":256,"
              "\"name\":\"Jos\xc3\xa9\\ufffd\",\"rate\":120,\"positionSensor\":true},"
              "{\"index\":2,\"address\":\"127.0.0.1\",\"port\":5002,"
              "\"name\":\"nnnnnnnnnnnnnnnn\",\"rate\":60,\"positionSensor\":false}]\n");
    EXPECT_EQ(FormatSuitJson({}), "[]\n");
}
} // namespace
