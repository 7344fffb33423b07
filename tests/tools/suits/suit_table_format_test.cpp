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
