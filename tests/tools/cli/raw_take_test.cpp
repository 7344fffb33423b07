#include "tests/support/temp_folder.h"
#include "tools/cli/raw_take.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
RawTakeHeader SomeHeader()
{
    RawTakeHeader header;
    std::snprintf(header.suitName, sizeof header.suitName, "Lab suit");
    header.nominalRate = 120.0f;
    header.positionSensor = true;
    header.floor = FloorGeometry{0.1f, -0.2f, 3.0f, -1.0f, 4.0f, 1, 7};
    VarnelGetActorData(nullptr, &header.actor);
    header.actor.bones[3] = 17.25f;
    return header;
}

SuitDatagram Numbered(uint8_t first)
{
    SuitDatagram datagram;
    for (size_t i = 0; i < datagram.size(); i++)
        datagram[i] = uint8_t(first + i);
    return datagram;
}

// A file as a recording leaves it: a header and records, made here byte by
// byte so that the reader is checked against the layout, not the writer.
std::vector<uint8_t> FileOf(const RawTakeHeader& header, int records)
{
    std::vector<uint8_t> bytes(RawTakeHeaderSize + records * RawRecordSize);
    EncodeRawTakeHeader(header, bytes.data());
    for (int i = 0; i < records; i++) {
        RawRecord record{1000 * (i + 1), uint32_t(i % 4), Numbered(uint8_t(i))};
        EncodeRawRecord(record, bytes.data() + RawTakeHeaderSize + i * RawRecordSize);
    }
    return bytes;
}

TEST(RawTake, TheHeaderAndRecordsReadBackAsWritten)
{
    RawTakeHeader header = SomeHeader();
    header.calibrationAt = 2000;
    std::vector<uint8_t> bytes = FileOf(header, 3);
    RawTake take;
    ASSERT_EQ(ParseRawTake(bytes.data(), bytes.size(), &take), "");
    EXPECT_STREQ(take.header.suitName, "Lab suit");
    EXPECT_EQ(take.header.nominalRate, 120.0f);
    EXPECT_TRUE(take.header.positionSensor);
    EXPECT_EQ(take.header.calibrationAt, 2000);
    EXPECT_EQ(take.header.floor.NumSteps, 7);
    EXPECT_EQ(take.header.floor.dzdy, -0.2f);
    EXPECT_EQ(std::memcmp(&take.header.actor, &header.actor, sizeof(ActorData)), 0);
    ASSERT_EQ(take.records.size(), 3u);
    EXPECT_EQ(take.records[2].time, 3000);
    EXPECT_EQ(take.records[2].flags, 2u);
    EXPECT_EQ(take.records[2].datagram, Numbered(2));
}

TEST(RawTake, ACutOrDamagedTailKeepsEveryWholeRecordBeforeIt)
{
    const std::vector<uint8_t> whole = FileOf(SomeHeader(), 5);
    struct Case {
        const char* what;
        size_t keep;     // bytes of the file kept
        size_t zeroTail; // zero bytes after them, as a power loss leaves
        size_t records;  // whole records expected
    };
    const Case cases[] = {
        {"header only", RawTakeHeaderSize, 0, 0},
        {"cut inside the third record", RawTakeHeaderSize + 2 * RawRecordSize + 50, 0, 2},
        {"cut after the fourth record", RawTakeHeaderSize + 4 * RawRecordSize, 0, 4},
        {"a zero-filled tail", RawTakeHeaderSize + 3 * RawRecordSize, 2 * RawRecordSize, 3},
        {"whole", whole.size(), 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes(whole.begin(), whole.begin() + long(c.keep));
        bytes.resize(bytes.size() + c.zeroTail, 0);
        RawTake take;
        ASSERT_EQ(ParseRawTake(bytes.data(), bytes.size(), &take), "");
        ASSERT_EQ(take.records.size(), c.records);
        EXPECT_EQ(take.ignoredBytes, bytes.size() - RawTakeHeaderSize - c.records * RawRecordSize);
        for (size_t i = 0; i < c.records; i++)
            EXPECT_EQ(take.records[i].datagram, Numbered(uint8_t(i)));
    }
}

TEST(RawTake, WhatIsNoRawTakeOfThisVersionIsRefusedSayingWhy)
{
    const std::vector<uint8_t> good = FileOf(SomeHeader(), 1);
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
        size_t size;
        const char* message;
    };
    const Case cases[] = {
        {"another signature", 0, 'X', good.size(), "not a raw take"},
        {"another version", 8, 2, good.size(), "format version 2; this program reads version 1"},
        {"another record size", 16, 100, good.size(), "sizes do not match"},
        {"a zero rate", 27, 0, good.size(), "nominal rate"},
        {"a cut header", 0, 'V', 100, "cut inside its header"},
        {"an empty file", 0, 'V', 0, "not a raw take"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes(good.begin(), good.begin() + long(c.size));
        if (c.at < bytes.size())
            bytes[c.at] = c.value;
        RawTake take;
        std::string problem = ParseRawTake(bytes.data(), bytes.size(), &take);
        EXPECT_NE(problem.find(c.message), std::string::npos) << problem;
        EXPECT_TRUE(take.records.empty());
    }
}

TEST(RawTake, TheWriterKeepsRecordsTheirMarksAndTheCalibrationInstant)
{
    TempFolder folder;
    const std::string path = folder.File("take.vraw");
    RawTakeWriter writer;
    ASSERT_EQ(writer.Open(path), "");
    // Records wait for the header; marks before any record change nothing.
    writer.Mark(RawSolved);
    writer.Add(10, Numbered(1).data());
    writer.MarkCalibration();
    writer.Mark(RawSolved);
    writer.Add(20, Numbered(2).data());
    writer.Mark(RawSolved | RawKept);
    writer.MarkCalibration();
    writer.SetHeader(SomeHeader());
    ASSERT_EQ(writer.Close(), "");

    RawTake take;
    ASSERT_EQ(ReadRawTake(path, &take), "");
    ASSERT_EQ(take.records.size(), 2u);
    EXPECT_EQ(take.records[0].flags, uint32_t(RawCalibratedBefore | RawSolved));
    EXPECT_EQ(take.records[1].flags, uint32_t(RawSolved | RawKept | RawCalibratedAfter));
    EXPECT_EQ(take.records[1].datagram, Numbered(2));
    EXPECT_EQ(take.header.calibrationAt, 20);
    EXPECT_STREQ(take.header.suitName, "Lab suit");
}

TEST(RawTake, AMissingFileIsNamed)
{
    RawTake take;
    std::string problem = ReadRawTake("/nonexistent/take.vraw", &take);
    EXPECT_NE(problem.find("cannot open /nonexistent/take.vraw"), std::string::npos) << problem;
}
} // namespace
