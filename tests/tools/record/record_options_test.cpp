#include "tests/tools/support/option_parse.h"
#include "tools/record/record_options.h"

#include <gtest/gtest.h>

namespace {
bool Parse(const std::string& arguments, RecordOptions* options = nullptr)
{
    return ParseOptions("record", AddRecordOptions, arguments, options);
}

TEST(RecordOptions, OutputIsRequiredAndLimitsExcludeEachOther)
{
    RecordOptions options;
    ASSERT_TRUE(Parse("-o take.bvh", &options));
    EXPECT_EQ(options.outputPath, "take.bvh");
    EXPECT_EQ(options.seconds, 0.0);
    EXPECT_EQ(options.frames, 0u);
    EXPECT_TRUE(options.suits.empty());
    EXPECT_FALSE(options.allSuits);
    EXPECT_FALSE(options.floorGiven);
    EXPECT_EQ(options.countdownSeconds, 3.0);
    EXPECT_TRUE(options.stillCheck);
    EXPECT_FALSE(Parse("--seconds 5"));
    EXPECT_FALSE(Parse("-o take.bvh --seconds 5 --frames 10"));
    for (const char* bad : {"--seconds 0", "--seconds -1", "--seconds nan", "--frames 0",
                            "--frames -3", "--frames 1.5", "--countdown -1", "--countdown 601"})
        EXPECT_FALSE(Parse(std::string("-o take.bvh ") + bad)) << bad;
}

TEST(RecordOptions, SuitsByIndexOrAddressInTheOrderGiven)
{
    RecordOptions options;
    ASSERT_TRUE(Parse("-o t.bvh --suit 192.168.1.20:5000 --suit 3 --suit 0", &options));
    ASSERT_EQ(options.suits.size(), 3u);
    EXPECT_FALSE(options.suits[0].byIndex);
    EXPECT_EQ(options.suits[0].address.host, "192.168.1.20");
    EXPECT_EQ(options.suits[0].address.port, 5000);
    EXPECT_TRUE(options.suits[1].byIndex);
    EXPECT_EQ(options.suits[1].index, 3);
    EXPECT_TRUE(options.suits[2].byIndex);
    EXPECT_EQ(options.suits[2].index, 0);
    for (const char* bad : {"192.168.1.20", "192.168.1.20:", ":5000", "10.0.0.1:0",
                            "10.0.0.1:65536", "10.0.0.1:50x", "-1", "1.5", "100000", "0x1", ""})
        EXPECT_FALSE(Parse(std::string("-o t.bvh --suit '") + bad + "'")) << bad;
}

TEST(RecordOptions, SeveralSuitsAndTheirOutput)
{
    RecordOptions options;
    ASSERT_TRUE(Parse("-o t.bvh --all --countdown 0 --no-still-check", &options));
    EXPECT_TRUE(options.allSuits);
    EXPECT_EQ(options.countdownSeconds, 0.0);
    EXPECT_FALSE(options.stillCheck);
    EXPECT_TRUE(Parse("-o - --suit 1"));
    EXPECT_TRUE(Parse("-o - --all")) << "--all may find one suit";
    EXPECT_FALSE(Parse("-o - --suit 0 --suit 1")) << "one standard output, two takes";
    EXPECT_FALSE(Parse("-o t.bvh --all --suit 0"));
}

TEST(RecordOptions, FloorValues)
{
    FloorGeometry floor;
    ASSERT_EQ(ParseFloor("0.1,-0.25,2,0,12,1,4", &floor), "");
    EXPECT_FLOAT_EQ(floor.dzdx, 0.1f);
    EXPECT_FLOAT_EQ(floor.dzdy, -0.25f);
    EXPECT_FLOAT_EQ(floor.z0, 2.0f);
    EXPECT_FLOAT_EQ(floor.min, 0.0f);
    EXPECT_FLOAT_EQ(floor.max, 12.0f);
    EXPECT_EQ(floor.clamp, 1);
    EXPECT_EQ(floor.NumSteps, 4);
    // Limits that neither clamp nor cut stairs may be in any order.
    EXPECT_EQ(ParseFloor("0,0,0,5,-5,0,0", &floor), "");

    RecordOptions options;
    ASSERT_TRUE(Parse("-o t.bvh --floor 0,0,1.5,0,0,0,0", &options));
    EXPECT_TRUE(options.floorGiven);
    EXPECT_FLOAT_EQ(options.floor.z0, 1.5f);
}

TEST(RecordOptions, BadFloorsAreRefusedWithTheReason)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"", "seven values"},
        {"0,0,0,0,12,1", "seven values"},
        {"0,0,0,0,12,1,4,5", "seven values"},
        {"0,0,0,0,12,1,", "STEPS"},
        {"x,0,0,0,12,1,4", "DZDX"},
        {"0,nan,0,0,12,1,4", "DZDY"},
        {"0,0,inf,0,12,1,4", "Z0"},
        {"0,0,0,,12,1,4", "MIN"},
        {"0,0,0,0,1e40,1,4", "MAX"},
        {"0,0,0,0,12,2,4", "CLAMP"},
        {"0,0,0,0,12,-1,4", "CLAMP"},
        {"0,0,0,0,12,1,-4", "STEPS"},
        {"0,0,0,0,12,1,2.5", "STEPS"},
        {"0,0,0,0,12,1,1001", "STEPS"},
        {"0,0,0,12,0,1,0", "MIN of the floor must not be above MAX"},
        {"0,0,0,12,0,0,3", "MIN of the floor must not be above MAX"},
    };
    for (const Case& c : cases) {
        FloorGeometry floor{};
        floor.z0 = 7.0f;
        std::string error = ParseFloor(c.text, &floor);
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(floor.z0, 7.0f) << "a refused floor leaves the old one: " << c.text;
        EXPECT_FALSE(Parse(std::string("-o t.bvh --floor=") + c.text)) << c.text;
    }
}
} // namespace
