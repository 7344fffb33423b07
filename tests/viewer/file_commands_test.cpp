// The File menu's motion and actor commands and the guard of an unsaved
// take, over a fake shell whose dialogs answer as scripted.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/commands.h"
#include "viewer/file_choice.h"
#include "viewer/file_commands.h"
#include "viewer/take_guard.h"

#include <cstring>
#include <filesystem>
#include <thread>

namespace {
SkeletonFrame Marked(int marker)
{
    return PoseAt(Vector(float(marker), 0.0f, 36.0f), marker);
}

// The hips x of each frame of a BVH file, which Marked numbers.
std::vector<int> MarkersInFile(const std::string& path)
{
    Skeleton read = {};
    VarnelInitSkeleton(&read);
    EXPECT_EQ(VarnelReadBVH(path.c_str(), &read, 85.0f, 1.5f), 1) << path;
    std::vector<int> markers;
    for (int i = 0; i < read.numFrames; i++)
        markers.push_back(int(std::lround(read.frames[i].channels[HipsPositionChannel])));
    VarnelFreeSkeletonFrames(&read);
    return markers;
}

class FileCommandTest : public ViewerTest {
  protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        VarnelSetMessageHandler(RecordedMessages::Handler);
        RecordedMessages::Clear();
    }
    void TearDown() override
    {
        VarnelSetMessageHandler(nullptr);
        ViewerTest::TearDown();
    }
    // A BVH file of frames marked first .. first + count - 1.
    std::string WriteMotionFile(const std::string& name, int first, int count)
    {
        Skeleton file = {};
        VarnelInitSkeleton(&file);
        VarnelFreeSkeletonFrames(&file);
        for (int i = 0; i < count; i++) {
            EXPECT_EQ(VarnelAddFrame(&file), 1);
            file.frames[i] = Marked(first + i);
        }
        std::string path = folder.File(name);
        EXPECT_EQ(VarnelWriteBVH(path.c_str(), &file), 1);
        VarnelFreeSkeletonFrames(&file);
        return path;
    }
    void MakeUnsavedTake(int count)
    {
        std::vector<SkeletonFrame> frames;
        for (int i = 0; i < count; i++)
            frames.push_back(Marked(i));
        MakeTake(state, frames);
        state.TakeUnsaved = 1;
    }
    // Opens the first suit heard, for the actor commands.
    void OpenASuit()
    {
        ASSERT_EQ(VarnelInit(), 1);
        ASSERT_EQ(FindSuitsWhileSending({{&suit, MakePacket("Walker")}}), 1);
        state.SuitHandle = VarnelOpen(nullptr, nullptr, nullptr);
        ASSERT_NE(state.SuitHandle.load(), nullptr);
    }
    // The engine's Stop arrives with the engine; until then the tests that
    // need it say so rather than fail.
    bool StopIsBuilt()
    {
        state.Playing = 1;
        RunCommand(state, shell, Command::Stop);
        bool built = state.Playing == 0;
        state.Playing = 0;
        shell.statusTexts.clear();
        return built;
    }

    TempFolder folder;
    TestSuit suit;
};

TEST_F(FileCommandTest, EachDialogStartsWhereItsLastFileWasAndProposesIt)
{
    struct Case {
        Command command;
        bool save;
        const char* filter;
        const char* suffix;
        std::string ViewerSettings::*file;
        std::string ViewerSettings::*dir;
    };
    const Case cases[] = {
        {Command::Open, false, "BVH file (*.bvh)", "bvh", &ViewerState::CurrentFile,
         &ViewerState::CurrentFileDir},
        {Command::SaveAs, true, "BVH file (*.bvh)", "bvh", &ViewerState::CurrentFile,
         &ViewerState::CurrentFileDir},
        {Command::LoadActorFile, false, "Actor Measurement file (*.vnl)", "",
         &ViewerState::CurrentActorFile, &ViewerState::CurrentActorFileDir},
        {Command::StoreActorFile, true, "Actor Measurement file (*.vnl)", "",
         &ViewerState::CurrentActorFile, &ViewerState::CurrentActorFileDir},
    };
    OpenASuit();
    MakeTake(state, {Marked(0)});
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    ASSERT_EQ(VarnelWriteActorData(folder.File("walker.vnl").c_str(), &actor, 0), 1);
    WriteMotionFile("walk.bvh", 0, 1);
    for (const Case& c : cases) {
        std::string chosen = folder.File(
            c.command == Command::Open || c.command == Command::SaveAs ? "walk.bvh" : "walker.vnl");
        auto& choices = c.save ? shell.saveChoices : shell.openChoices;
        auto& shown = c.save ? shell.saveDialogs : shell.openDialogs;
        state.*c.file = "/elsewhere/old.name";
        state.*c.dir = "/elsewhere";
        choices = {"", chosen}; // cancelled, then chosen
        RunCommand(state, shell, c.command);
        EXPECT_EQ(state.*c.file, "/elsewhere/old.name") << chosen; // a cancel changes nothing
        RunCommand(state, shell, c.command);
        EXPECT_EQ(state.*c.file, chosen);
        EXPECT_EQ(state.*c.dir, folder.path);

        choices = {""};
        RunCommand(state, shell, c.command);
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_STREQ(shown[0].filter, c.filter);
        EXPECT_STREQ(shown[0].defaultSuffix, c.suffix);
        EXPECT_EQ(shown[0].folder, "/elsewhere");
        EXPECT_EQ(shown[2].folder, folder.path);
        EXPECT_EQ(shown[2].proposedName, std::filesystem::path(chosen).filename());
        shown.clear();
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FileCommandTest, TheFolderOfAFileInTheRootIsTheRoot)
{
    const std::pair<const char*, const char*> paths[] = {
        {"/walk.bvh", "/"}, {"/data/takes/walk.bvh", "/data/takes"}, {"/data/walk", "/data"}};
    for (auto [path, folder] : paths) {
        std::string file, dir;
        RememberFile(path, file, dir);
        EXPECT_EQ(file, path);
        EXPECT_EQ(dir, folder);
    }
}

TEST_F(FileCommandTest, OpenWhilePlayingOrRecordingStopsFirstAndShowsTheFileFromItsFirstFrame)
{
    if (!StopIsBuilt())
        GTEST_SKIP() << "needs the engine's Stop";
    std::string path = WriteMotionFile("walk.bvh", 100, 4);
    for (bool recording : {false, true}) {
        MakeTake(state, {Marked(0), Marked(1), Marked(2)});
        state.Recording = recording;
        state.Playing = !recording;
        state.PlaybackFrame = 2;
        shell.openChoices = {path};
        RunCommand(state, shell, Command::Open);
        EXPECT_EQ(state.Recording + state.Playing + state.Paused + state.PlaybackFrame, 0);
        EXPECT_EQ(shell.Status(StatusPane::Messages), "Ready");
        ASSERT_EQ(state.Skeleton.numFrames, 4);
        EXPECT_NEAR(state.Skeleton.frames[0].channels[HipsPositionChannel], 100.0f, 1e-3f);
        EXPECT_GT(shell.repaints, 0);
    }
}

TEST_F(FileCommandTest, AFileThatCannotBeReadIsSaidAndChangesNothingElse)
{
    MakeUnsavedTake(3);
    state.Playing = 1;
    std::string missing = folder.File("gone.bvh");
    shell.openChoices = {missing};
    RunCommand(state, shell, Command::Open);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Can't open file " + missing);
    EXPECT_EQ(shell.saveTakeQuestions, 0);
    EXPECT_EQ(state.Playing, 1);
    EXPECT_EQ(state.Skeleton.numFrames, 3);
    EXPECT_EQ(state.TakeUnsaved, 1);
}

TEST_F(FileCommandTest, OpenAsksAboutAnUnsavedTakeAndCancelKeepsItAndTheCurrentFile)
{
    std::string path = WriteMotionFile("walk.bvh", 100, 2);
    MakeUnsavedTake(3);
    state.CurrentFile = "/takes/mine.bvh";
    shell.openChoices = {path, path};
    shell.saveTakeAnswers = {Shell::SaveTakeAnswer::Cancel, Shell::SaveTakeAnswer::Discard};
    RunCommand(state, shell, Command::Open);
    EXPECT_EQ(state.Skeleton.numFrames, 3);
    EXPECT_EQ(state.TakeUnsaved, 1);
    EXPECT_EQ(state.CurrentFile, "/takes/mine.bvh");

    RunCommand(state, shell, Command::Open);
    EXPECT_EQ(shell.saveTakeQuestions, 2);
    EXPECT_EQ(state.Skeleton.numFrames, 2);
    EXPECT_EQ(state.TakeUnsaved, 0);
    EXPECT_EQ(state.CurrentFile, path);
}

TEST_F(FileCommandTest, TheGuardLetsATakeGoOnlyWhenSavedOrDiscarded)
{
    using Answer = Shell::SaveTakeAnswer;
    const std::string good = folder.File("take.bvh");
    const std::string unwritable = folder.File("missing/take.bvh"); // its folder does not exist
    struct Case {
        const char* name;
        std::deque<Answer> answers;
        std::deque<std::string> saveChoices;
        bool mayGo;
        int questions;
        int unsavedAfter;
        int libraryMessages;
    };
    const Case cases[] = {
        {"cancel", {Answer::Cancel}, {}, false, 1, 1, 0},
        {"discard", {Answer::Discard}, {}, true, 1, 0, 0},
        {"save", {Answer::Save}, {good}, true, 1, 0, 0},
        {"save dialog cancelled", {Answer::Save, Answer::Cancel}, {""}, false, 2, 1, 0},
        {"failed save, then another place",
         {Answer::Save, Answer::Save},
         {unwritable, good},
         true,
         2,
         0,
         1},
        {"failed save, then cancel", {Answer::Save, Answer::Cancel}, {unwritable}, false, 2, 1, 1},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(good);
        RecordedMessages::Clear();
        MakeUnsavedTake(3);
        shell.saveTakeQuestions = 0;
        shell.saveTakeAnswers = c.answers;
        shell.saveChoices = c.saveChoices;
        EXPECT_EQ(MayReplaceTake(state, shell), c.mayGo) << c.name;
        EXPECT_EQ(shell.saveTakeQuestions, c.questions) << c.name;
        EXPECT_EQ(state.TakeUnsaved, c.unsavedAfter) << c.name;
        EXPECT_EQ(state.Skeleton.numFrames, 3) << c.name; // the guard never drops it
        std::vector<std::string> said = RecordedMessages::Texts();
        ASSERT_EQ(int(said.size()), c.libraryMessages) << c.name;
        for (const std::string& text : said)
            EXPECT_NE(text.find(unwritable), std::string::npos) << text;
        bool saved = c.mayGo && c.answers.back() == Answer::Save;
        EXPECT_EQ(std::filesystem::exists(good), saved) << c.name;
        if (saved) {
            EXPECT_EQ(MarkersInFile(good), (std::vector<int>{0, 1, 2})) << c.name;
        }
    }
}

TEST_F(FileCommandTest, ATakeSavedAndUnchangedGoesWithoutAQuestion)
{
    MakeUnsavedTake(2);
    shell.saveChoices = {folder.File("take.bvh")};
    RunCommand(state, shell, Command::SaveAs);
    EXPECT_EQ(state.TakeUnsaved, 0);
    EXPECT_TRUE(MayReplaceTake(state, shell));
    EXPECT_EQ(shell.saveTakeQuestions, 0);
}

TEST_F(FileCommandTest, SaveAsDuringARecordingWritesAWholeTakeAndKeepsLaterFramesUnsaved)
{
    MakeTake(state, {});
    state.Recording = 1;
    constexpr int Frames = 3000;
    std::atomic<int> appended{0};
    // As the frame callback stores a frame.
    std::thread recorder([&] {
        for (int i = 0; i < Frames; i++) {
            {
                std::lock_guard hold(state.takeLock);
                ASSERT_EQ(VarnelAddFrame(&state.Skeleton), 1);
                state.Skeleton.frames[i] = Marked(i);
            }
            state.TakeUnsaved = 1;
            appended = i + 1;
        }
    });
    WaitUntil([&] { return appended > 0; });
    const std::string path = folder.File("take.bvh");
    shell.saveChoices = {path};
    RunCommand(state, shell, Command::SaveAs);
    recorder.join();

    std::vector<int> markers = MarkersInFile(path);
    ASSERT_FALSE(markers.empty());
    for (size_t i = 0; i < markers.size(); i++)
        ASSERT_EQ(markers[i], int(i));
    EXPECT_EQ(state.TakeUnsaved, markers.size() < size_t(Frames) ? 1 : 0);
}

TEST_F(FileCommandTest, ATakeThatCannotBeAskedAboutIsSavedBesideTheOthersWithoutReplacingAny)
{
    MakeUnsavedTake(2);
    ASSERT_TRUE(SaveTakeForRecovery(state, shell, folder.path));
    std::string first = state.CurrentFile;
    EXPECT_EQ(state.TakeUnsaved, 0);
    EXPECT_EQ(state.CurrentFileDir, folder.path);
    EXPECT_EQ(std::filesystem::path(first).filename().string().rfind("take-recovered-", 0), 0u);

    MakeUnsavedTake(3);
    ASSERT_TRUE(SaveTakeForRecovery(state, shell, folder.path + "/"));
    EXPECT_NE(state.CurrentFile, first);
    EXPECT_EQ(MarkersInFile(first), (std::vector<int>{0, 1}));
    EXPECT_EQ(MarkersInFile(state.CurrentFile), (std::vector<int>{0, 1, 2}));
}
} // namespace
