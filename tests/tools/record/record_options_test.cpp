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
    EXPECT_FALSE(options.suitGiven);
    EXPECT_FALSE(options.floorGiven);
    EXPECT_EQ(options.countdownSeconds, 0.0);
    EXPECT_FALSE(Parse("--seconds 5"));
    EXPECT_FALSE(Parse("-o take.bvh --seconds 5 --frames 10"));
    for (const char* bad : {"--seconds 0", "--seconds -1", "--seconds nan", "--frames 0",
                            "--frames -3", "--frames 1.5", "--countdown -1", "--countdown 601"})
        EXPECT_FALSE(Parse(std::string("-o take.bvh ") + bad)) << bad;
}

TEST(RecordOptions, SuitAddress)
{
    RecordOptions options;
    ASSERT_TRUE(Parse("-o t.bvh --suit 192.168.1.20:5000", &options));
    EXPECT_TRUE(options.suitGiven);
    EXPECT_EQ(options.suit.host, "192.168.1.20");
    EXPECT_EQ(options.suit.port, 5000);
    for (const char* bad :
         {"192.168.1.20", "192.168.1.20:", ":5000", "10.0.0.1:0", "10.0.0.1:65536", "10.0.0.1:50x"})
        EXPECT_FALSE(Parse(std::string("-o t.bvh --suit ") + bad)) << bad;
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
