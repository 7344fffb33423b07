#include "tests/tools/support/option_parse.h"
#include "tools/stream/stream_options.h"

#include <gtest/gtest.h>

namespace {
bool Parse(const std::string& arguments, StreamOptions* options = nullptr)
{
    return ParseOptions("stream", AddStreamOptions, arguments, options);
}

TEST(StreamOptions, TargetsReplaceTheDefaultAndSuitsAreChosenAsForRecording)
{
    StreamOptions options;
    ASSERT_TRUE(Parse("", &options));
    ASSERT_EQ(options.targets.size(), 1u);
    EXPECT_EQ(options.targets[0].host, "127.0.0.1");
    EXPECT_EQ(options.targets[0].port, VmcDefaultPort);
    EXPECT_TRUE(options.stillCheck);

    ASSERT_TRUE(
        Parse("--vmc 10.0.0.2:39540 --vmc localhost:9000 --all --no-still-check", &options));
    ASSERT_EQ(options.targets.size(), 2u);
    EXPECT_EQ(options.targets[1].host, "localhost");
    EXPECT_EQ(options.targets[1].port, 9000);
    EXPECT_TRUE(options.allSuits);
    EXPECT_FALSE(options.stillCheck);

    ASSERT_TRUE(Parse("--suit 1 --suit 127.0.0.1:5000", &options));
    EXPECT_EQ(options.suits.size(), 2u);
    for (const char* bad : {"--vmc 10.0.0.2", "--vmc :39539", "--vmc 10.0.0.2:0", "--all --suit 0",
                            "--seconds 1 --frames 2", "--countdown -1"})
        EXPECT_FALSE(Parse(bad)) << bad;
}

// A receiver takes one performer per port: the k-th suit goes to port + k.
TEST(StreamOptions, EachFurtherSuitStreamsToTheNextPort)
{
    const std::vector<Destination> targets{{"127.0.0.1", 39539}, {"studio", 65534}};
    std::vector<Destination> shifted;
    ASSERT_EQ(SuitTargets(targets, 1, &shifted), "");
    EXPECT_EQ(shifted[0].port, 39540);
    EXPECT_EQ(shifted[1].port, 65535);
    EXPECT_EQ(shifted[1].host, "studio");
    std::string error = SuitTargets(targets, 2, &shifted);
    EXPECT_NE(error.find("65536"), std::string::npos) << error;
}
} // namespace
