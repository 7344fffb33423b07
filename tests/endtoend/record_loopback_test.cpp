#include "loopback_capture.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/environment_variable.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace {
TEST(RecordLoopback, NoSuitsDetected)
{
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    EXPECT_NE(out.Text().find("No Varnel suits detected\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(options.outputPath));
}

TEST(RecordLoopback, AnOutputThatCannotBeWrittenIsRefusedBeforeTheTake)
{
    TempFolder folder;
    for (const std::string& output :
         {folder.File("missing/take.bvh"), folder.path, folder.path + "/"}) {
        SCOPED_TRACE(output);
        RecordOptions options = ImmediateRecordOptions(output);
        CapturedOutput out, errors;
        std::atomic<bool> stop{false};
        EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
        EXPECT_NE(errors.Text().find("cannot write " + output), std::string::npos);
        EXPECT_EQ(out.Text(), "") << "no suit was looked for";
    }
}

TEST(RecordLoopback, ASuitThatIsNotThereIsNamed)
{
    WalkingMotion walk(100.0, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(100.0, 0.0));
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.suits = {SuitChoice{false, 0, {"127.0.0.1", 1}}};
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
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.silenceSeconds = 1.0;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    EXPECT_NE(errors.Text().find("stopped sending; the take ends"), std::string::npos)
        << errors.Text();
    EXPECT_NE(out.Text().find("Wrote " + options.outputPath), std::string::npos) << out.Text();
    EXPECT_TRUE(std::filesystem::exists(options.outputPath));
    // The suit sent for half a second after discovery; the silence is no take.
    double seconds = 0;
    std::sscanf(out.Text().substr(out.Text().find("Recorded ")).c_str(),
                "Recorded %*d frames in %lf", &seconds);
    EXPECT_GT(seconds, 0.0);
    EXPECT_LT(seconds, options.silenceSeconds) << out.Text();
}

// In any unit: the recovery file is the library's, in inches, and says so.
TEST(RecordLoopback, ATakeWhoseFileCannotBeWrittenGoesToARecoveryFile)
{
    for (LengthUnit units : {LengthUnit::Inches, LengthUnit::Centimeters}) {
        SCOPED_TRACE(LengthUnitName(units));
        WalkingMotion walk(100.0, 0);
        SimulateOptions suitOptions = LoopbackSuitOptions(100.0, 0.0);
        suitOptions.seconds = 1.5;
        SimulatedSuit suit(walk, suitOptions);
        TempFolder folder;
        RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
        options.units = units;
        // The output turns into a folder once the take runs.
        std::atomic<bool> stop{false}, ended{false};
        std::thread blocker([&] {
            while (!suit.Finished() && !ended.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::filesystem::create_directory(options.outputPath);
            stop.store(true);
        });
        CapturedOutput out, errors;
        EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
        ended.store(true);
        blocker.join();
        const std::string said = errors.Text(), lead = "the take was written to ";
        size_t at = said.find(lead + folder.File("take.recovered-"));
        ASSERT_NE(at, std::string::npos) << said;
        std::string recovery = said.substr(at + lead.size());
        recovery.resize(recovery.find('\n'));
        EXPECT_EQ(said.find(recovery + " is in inches; 'varnel convert ") != std::string::npos,
                  units != LengthUnit::Inches)
            << said;
        OwnedSkeleton take;
        EXPECT_EQ(VarnelReadBVH(recovery.c_str(), take.get(), 85.0f, 1.5f), 1);
        EXPECT_GT(take->numFrames, 0);
    }
}

TEST(RecordLoopback, AFrameLimitAndTheSummary)
{
    WalkingMotion walk(100.0, 0);
    SimulateOptions suitOptions = LoopbackSuitOptions(100.0, 0.0);
    suitOptions.name = "\x1b[2JWalker"; // clears a terminal's screen
    SimulatedSuit suit(walk, suitOptions);
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.frames = 25;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_NE(out.Text().find("Recorded 25 frames in "), std::string::npos) << out.Text();
    EXPECT_NE(out.Text().find("Recording \"?[2JWalker\""), std::string::npos) << out.Text();

    OwnedSkeleton take;
    ASSERT_EQ(VarnelReadBVH(options.outputPath.c_str(), take.get(), 85.0f, 1.5f), 1);
    EXPECT_EQ(take->numFrames, 25);
    EXPECT_FLOAT_EQ(take->frameTime, 0.01f);
}
} // namespace

namespace {
TEST(RecordLoopback, ADashWritesTheTakeToTheOutputAndAllElseToTheErrors)
{
    WalkingMotion walk(100.0, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(100.0, 0.0));
    TempFolder temporary, folder;
    ScopedEnvironmentVariable temporaryFolder("TMPDIR", temporary.path);
    RecordOptions options = ImmediateRecordOptions("-");
    options.frames = 10;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_TRUE(out.Text().starts_with("HIERARCHY\n")) << out.Text().substr(0, 200);
    EXPECT_NE(errors.Text().find("Recorded 10 frames in "), std::string::npos) << errors.Text();
    EXPECT_NE(errors.Text().find("Wrote the take to standard output\n"), std::string::npos);

    OwnedSkeleton take;
    const std::string copy = folder.Write("copy.bvh", out.Text());
    ASSERT_EQ(VarnelReadBVH(copy.c_str(), take.get(), 85.0f, 1.5f), 1);
    EXPECT_EQ(take->numFrames, 10);
    EXPECT_TRUE(std::filesystem::is_empty(temporary.path)) << "the passing file is gone";
    EXPECT_FALSE(std::filesystem::exists("-"));
}
} // namespace

namespace {
// The suit stands in the null pose all along, so that the two takes are
// the same pose and differ only in their unit.
void RecordStanding(const std::string& path, LengthUnit units, OwnedSkeleton& take)
{
    WalkingMotion standing(100.0, 100000);
    SimulatedSuit suit(standing, LoopbackSuitOptions(100.0, 0.0));
    RecordOptions options = ImmediateRecordOptions(path);
    options.frames = 5;
    options.units = units;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_EQ(VarnelReadBVH(path.c_str(), take.get(), 85.0f, 1.5f), 1);
}

TEST(RecordLoopback, UnitsScaleTheWrittenTake)
{
    TempFolder folder;
    OwnedSkeleton inches, centimeters;
    RecordStanding(folder.File("in.bvh"), LengthUnit::Inches, inches);
    RecordStanding(folder.File("cm.bvh"), LengthUnit::Centimeters, centimeters);
    ASSERT_EQ(inches->numFrames, 5);
    ASSERT_EQ(centimeters->numFrames, 5);
    const float hips = inches->frames[4].channels[2];
    EXPECT_GT(hips, 30.0f);
    EXPECT_NEAR(centimeters->frames[4].channels[2], 2.54f * hips, 1e-4f);
    EXPECT_NEAR(centimeters->nodes[NodeLeftKnee].offset.z,
                2.54f * inches->nodes[NodeLeftKnee].offset.z, 1e-4f);
    EXPECT_EQ(centimeters->frames[4].channels[12], inches->frames[4].channels[12]);
}
} // namespace
