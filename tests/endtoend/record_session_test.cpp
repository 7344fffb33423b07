// `varnel record` on the calibration's still check and on several suits at once.
#include "loopback_capture.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

namespace {
constexpr double Rate = 100.0;

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        count++;
    return count;
}

int FramesIn(const std::string& path)
{
    OwnedSkeleton take;
    if (VarnelReadBVH(path.c_str(), take.get(), 85.0f, 1.5f) != 1)
        return -1;
    return take->numFrames;
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

SimulateOptions NamedSuit(const std::string& name, double leadInSeconds)
{
    SimulateOptions options = LoopbackSuitOptions(Rate, leadInSeconds);
    options.name = name;
    return options;
}

TEST(RecordStillCheck, AStillSuitIsCalibratedAfterTheCountdownAndTheCheck)
{
    // The null pose throughout the test.
    WalkingMotion walk(Rate, LeadInFrames(60.0, Rate));
    SimulatedSuit suit(walk, LoopbackSuitOptions(Rate, 60.0));
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.countdownSeconds = 1.0;
    options.stillCheck = true;
    options.frames = 20;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_EQ(errors.Text(), "varnel record: Take the null pose: 1\n");
    EXPECT_EQ(FramesIn(options.outputPath), 20);
}

TEST(RecordStillCheck, AMovingSuitIsToldOnceAndGivenUpOnWithNothingRecorded)
{
    WalkingMotion walk(Rate, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(Rate, 0.0));
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.stillCheck = true;
    options.stillLimitSeconds = 1.5;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 1);
    const std::string said = errors.Text();
    EXPECT_EQ(CountOf(said, "varnel record: the suit is moving; hold the null pose still\n"), 1)
        << said;
    EXPECT_NE(said.find("did not hold the null pose still for 0.5 s within 1.5 s; nothing was "
                        "recorded"),
              std::string::npos)
        << said;
    EXPECT_FALSE(std::filesystem::exists(options.outputPath));
}

TEST(RecordStillCheck, WithoutTheCheckAMovingSuitIsCalibratedAtOnce)
{
    WalkingMotion walk(Rate, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(Rate, 0.0));
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.frames = 20;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_EQ(errors.Text(), "");
    EXPECT_EQ(FramesIn(options.outputPath), 20);
}

TEST(RecordSession, EverySuitIntoItsOwnFileWithTheSameLimit)
{
    WalkingMotion leftWalk(Rate, 0), rightWalk(Rate, 0);
    SimulatedSuit left(leftWalk, NamedSuit("Left", 0.0));
    SimulatedSuit right(rightWalk, NamedSuit("Right suit", 0.0));
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
    options.allSuits = true;
    options.frames = 15;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    EXPECT_EQ(FramesIn(folder.File("take-Left.bvh")), 15);
    EXPECT_EQ(FramesIn(folder.File("take-Right_suit.bvh")), 15);
    EXPECT_EQ(FilesIn(folder.path),
              (std::set<std::string>{"take-Left.bvh", "take-Right_suit.bvh"}));
    const std::string said = out.Text();
    EXPECT_NE(said.find("\"Left\": Recorded 15 frames in "), std::string::npos) << said;
    EXPECT_NE(said.find("\"Right suit\": Recorded 15 frames in "), std::string::npos) << said;
}

TEST(RecordSession, SuitsChosenByIndexIntoAPattern)
{
    WalkingMotion walk(Rate, 0);
    SimulateOptions pair = NamedSuit("Pair", 0.0);
    pair.suits = 2; // "Pair 1" and "Pair 2"
    SimulatedSuit suits(walk, pair);
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("{index}-{name}.bvh"));
    options.suits = {SuitChoice{true, 1, {}}, SuitChoice{true, 0, {}}};
    options.frames = 10;
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), 0) << errors.Text();
    std::set<std::string> files = FilesIn(folder.path);
    EXPECT_TRUE(files == (std::set<std::string>{"0-Pair_1.bvh", "1-Pair_2.bvh"}) ||
                files == (std::set<std::string>{"0-Pair_2.bvh", "1-Pair_1.bvh"}))
        << testing::PrintToString(files);
    for (const std::string& file : files)
        EXPECT_EQ(FramesIn(folder.File(file)), 10) << file;
}

TEST(RecordSession, ChoicesTwoSuitsCannotMeet)
{
    struct Case {
        const char* name;
        std::function<void(RecordOptions&)> choose;
        int status;
        const char* said;
    };
    const Case cases[] = {
        {"an index beyond the suits found",
         [](RecordOptions& options) {
             options.suits = {SuitChoice{true, 7, {}}};
         },
         1, "varnel record: no suit has the index 7 (2 suits found, from index 0)\n"},
        {"one suit named twice",
         [](RecordOptions& options) {
             options.suits = {SuitChoice{true, 1, {}}, SuitChoice{true, 1, {}}};
         },
         2, ") is named twice\n"},
        {"every suit found to standard output",
         [](RecordOptions& options) {
             options.outputPath = "-";
             options.allSuits = true;
         },
         2, "varnel record: standard output takes one suit's take only (2 suits found)"},
        {"two suits named to standard output",
         [](RecordOptions& options) {
             options.outputPath = "-";
             options.suits = {SuitChoice{true, 0, {}}, SuitChoice{true, 1, {}}};
         },
         2, "varnel record: standard output takes one suit's take only (2 suits found)"},
    };
    WalkingMotion walk(Rate, 0);
    SimulateOptions pair = NamedSuit("Pair", 0.0);
    pair.suits = 2;
    SimulatedSuit suits(walk, pair);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempFolder folder;
        RecordOptions options = ImmediateRecordOptions(folder.File("take.bvh"));
        options.frames = 5;
        test.choose(options);
        CapturedOutput out, errors;
        std::atomic<bool> stop{false};
        EXPECT_EQ(RunRecord(options, stop, out.file, errors.file), test.status);
        EXPECT_NE(errors.Text().find(test.said), std::string::npos) << errors.Text();
        EXPECT_EQ(out.Text().find("HIERARCHY"), std::string::npos) << "no take";
        EXPECT_TRUE(std::filesystem::is_empty(folder.path));
    }
}
} // namespace
