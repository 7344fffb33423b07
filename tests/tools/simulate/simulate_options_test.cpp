#include "tests/tools/support/option_parse.h"
#include "tools/simulate/simulate_options.h"

#include <gtest/gtest.h>

namespace {
bool Parse(const std::string& arguments, SimulateOptions* options = nullptr)
{
    return ParseOptions("simulate", AddSimulateOptions, arguments, options);
}

TEST(SimulateOptions, Defaults)
{
    SimulateOptions options;
    ASSERT_TRUE(Parse("", &options));
    EXPECT_EQ(options.destination.host, "127.0.0.1");
    EXPECT_EQ(options.destination.port, 8000);
    EXPECT_EQ(options.sourcePort, 0);
    EXPECT_EQ(options.name, "Simulated suit");
    EXPECT_EQ(options.rate, 60.0);
    EXPECT_EQ(options.frames, 0u);
    EXPECT_EQ(options.seconds, 0.0);
    EXPECT_EQ(options.burst, 1);
    EXPECT_EQ(options.suits, 1);
    EXPECT_FALSE(options.positionSensor);
    EXPECT_FALSE(options.jitter);
}

TEST(SimulateOptions, Destination)
{
    SimulateOptions options;
    ASSERT_TRUE(Parse("--to 10.1.2.3:9000", &options));
    EXPECT_EQ(options.destination.host, "10.1.2.3");
    EXPECT_EQ(options.destination.port, 9000);
    ASSERT_TRUE(Parse("--to localhost:65535", &options));
    EXPECT_EQ(options.destination.host, "localhost");
    EXPECT_EQ(options.destination.port, 65535);

    for (const char* bad : {"localhost", "localhost:", ":8000", "host:0", "host:65536", "host:80x",
                            "host:-1", "host:99999999999999999999"})
        EXPECT_FALSE(Parse(std::string("--to ") + bad)) << bad;
}

TEST(SimulateOptions, RateMustBePositiveAndFinite)
{
    SimulateOptions options;
    ASSERT_TRUE(Parse("--rate 59.94", &options));
    EXPECT_DOUBLE_EQ(options.rate, 59.94);
    ASSERT_TRUE(Parse("--rate 0.5", &options));
    for (const char* bad : {"0", "-60", "abc", "nan", "inf", "10001"})
        EXPECT_FALSE(Parse(std::string("--rate ") + bad)) << bad;
}

TEST(SimulateOptions, FramesOrSecondsButNotBoth)
{
    SimulateOptions options;
    ASSERT_TRUE(Parse("--frames 10", &options));
    EXPECT_EQ(options.frames, 10u);
    ASSERT_TRUE(Parse("--seconds 2.5", &options));
    EXPECT_EQ(options.seconds, 2.5);
    for (const char* bad :
         {"--frames 10 --seconds 2", "--seconds 2 --frames 10", "--frames 0", "--frames -3",
          "--frames 99999999999999999999999", "--frames 2.5", "--seconds 0", "--seconds -1"})
        EXPECT_FALSE(Parse(bad)) << bad;
}

TEST(SimulateOptions, NameFitsTheDatagram)
{
    SimulateOptions options;
    ASSERT_TRUE(Parse("--name ABCDEFGHIJKLMNO", &options));
    EXPECT_EQ(options.name, "ABCDEFGHIJKLMNO");
    EXPECT_FALSE(Parse("--name ABCDEFGHIJKLMNOP"));
    EXPECT_FALSE(Parse("--name \"\""));
}

TEST(SimulateOptions, SuitsBurstAndSourcePorts)
{
    SimulateOptions options;
    ASSERT_TRUE(
        Parse("--suits 3 --burst 4 --source-port 65533 --position-sensor --jitter", &options));
    EXPECT_EQ(options.suits, 3);
    EXPECT_EQ(options.burst, 4);
    EXPECT_EQ(options.sourcePort, 65533);
    EXPECT_TRUE(options.positionSensor);
    EXPECT_TRUE(options.jitter);
    // The third suit of the first would need port 65536.
    for (const char* bad :
         {"--suits 3 --source-port 65534", "--source-port 65536", "--suits 0", "--burst 0"})
        EXPECT_FALSE(Parse(bad)) << bad;
}

TEST(SimulatedSuitName, SuffixesFitInFifteenBytes)
{
    EXPECT_EQ(SimulatedSuitName("Simulated suit", 0, 1), "Simulated suit");
    EXPECT_EQ(SimulatedSuitName("Alpha", 1, 2), "Alpha 2");
    // "Simulated suit 1" would lose its digit to the 15-byte limit.
    EXPECT_EQ(SimulatedSuitName("Simulated suit", 0, 2), "Simulated sui 1");
    EXPECT_EQ(SimulatedSuitName("Simulated suit", 11, 12), "Simulated su 12");
    // The cut would fall on a space: no double space before the number.
    EXPECT_EQ(SimulatedSuitName("ABCDEFGHIJKL MN", 0, 2), "ABCDEFGHIJKL 1");
    // Nor in the middle of a two-byte character (e with acute accent).
    EXPECT_EQ(SimulatedSuitName("abcdefghijkl\xc3\xa9", 0, 2), "abcdefghijkl 1");
}

TEST(SimulateOptions, TakeLoopAndLeadIn)
{
    SimulateOptions options;
    ASSERT_TRUE(Parse("", &options));
    EXPECT_EQ(options.bvhPath, "");
    EXPECT_EQ(options.leadInSeconds, 6.0);
    EXPECT_FALSE(options.rateGiven) << "a take then plays at its own rate";
    ASSERT_TRUE(Parse("--bvh walk.bvh --loop --lead-in 0 --rate 120", &options));
    EXPECT_EQ(options.bvhPath, "walk.bvh");
    EXPECT_TRUE(options.loop);
    EXPECT_EQ(options.leadInSeconds, 0.0);
    EXPECT_TRUE(options.rateGiven);

    EXPECT_FALSE(Parse("--loop")) << "only a take loops";
    for (const char* bad : {"-1", "nan", "inf", "3601", "soon"})
        EXPECT_FALSE(Parse(std::string("--lead-in ") + bad)) << bad;
}
} // namespace
