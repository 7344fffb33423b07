#include "loopback_capture.h"
#include "temp_folder.h"
#include "walking_motion.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
TEST(RecordLoopback, NoSuitsDetected)
{
    TempFolder folder;
    RecordOptions options;
    options.outputPath = folder.File("take.bvh");
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    EXPECT_NE(out.Text().find("No Varnel suits detected\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(options.outputPath));
}

TEST(RecordLoopback, AnOutputThatCannotBeWrittenIsRefusedBeforeTheTake)
{
    TempFolder folder;
    RecordOptions options;
    options.outputPath = folder.File("missing/take.bvh");
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    EXPECT_NE(errors.Text().find("cannot write " + options.outputPath), std::string::npos);
    EXPECT_EQ(out.Text(), "") << "no suit was looked for";
}

TEST(RecordLoopback, ASuitThatIsNotThereIsNamed)
{
    WalkingMotion walk(100.0, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(100.0, 0.0));
    TempFolder folder;
    RecordOptions options;
    options.outputPath = folder.File("take.bvh");
    options.suitGiven = true;
    options.suit = {"127.0.0.1", 1};
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    EXPECT_NE(errors.Text().find("no suit sends from 127.0.0.1:1 (1 suit found)"),
              std::string::npos)
        << errors.Text();
    EXPECT_FALSE(std::filesystem::exists(options.outputPath));
}

TEST(RecordLoopback, ASuitThatFallsSilentEndsTheTakeWhichIsStillWritten)
{
    // Sends through discovery and a little more, then nothing.
    WalkingMotion walk(100.0, 0);
    SimulateOptions suitOptions = LoopbackSuitOptions(100.0, 0.0);
    suitOptions.seconds = 1.5;
    SimulatedSuit suit(walk, suitOptions);
    TempFolder folder;
    RecordOptions options;
    options.outputPath = folder.File("take.bvh");
    options.silenceSeconds = 0.5;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    EXPECT_NE(errors.Text().find("stopped sending; the take ends"), std::string::npos)
        << errors.Text();
    EXPECT_NE(out.Text().find("Wrote " + options.outputPath), std::string::npos) << out.Text();
    EXPECT_TRUE(std::filesystem::exists(options.outputPath));
}

TEST(RecordLoopback, AFrameLimitAndTheSummary)
{
    WalkingMotion walk(100.0, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(100.0, 0.0));
    TempFolder folder;
    RecordOptions options;
    options.outputPath = folder.File("take.bvh");
    options.frames = 25;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_NE(out.Text().find("Recorded 25 frames in "), std::string::npos) << out.Text();

    Skeleton take;
    VarnelInitSkeleton(&take);
    ASSERT_EQ(VarnelReadBVH(options.outputPath.c_str(), &take, 85.0f, 1.5f), 1);
    EXPECT_EQ(take.numFrames, 25);
    EXPECT_FLOAT_EQ(take.frameTime, 0.01f);
    VarnelFreeSkeletonFrames(&take);
}
} // namespace
