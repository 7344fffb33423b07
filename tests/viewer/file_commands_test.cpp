// The File menu's commands, the actor commands and the guard of an unsaved
// take, over a fake shell whose dialogs answer as scripted.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/support/vector_matchers.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/commands.h"
#include "viewer/file_choice.h"
#include "viewer/file_commands.h"
#include "viewer/take_guard.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <thread>

namespace {
using Answer = Shell::SaveTakeAnswer;

// Frame i has its hips at x = i, which survives a BVH file.
std::vector<SkeletonFrame> Numbered(int first, int count)
{
    std::vector<SkeletonFrame> frames;
    for (int i = first; i < first + count; i++)
        frames.push_back(PoseAt(Vector(float(i), 0.0f, 36.0f), i));
    return frames;
}

std::vector<int> NumbersIn(const Skeleton& take)
{
    std::vector<int> numbers;
    for (int i = 0; i < take.numFrames; i++)
        numbers.push_back(int(std::lround(take.frames[i].channels[HipsPositionChannel])));
    return numbers;
}

std::vector<int> NumbersInFile(const std::string& path)
{
    Skeleton read;
    VarnelInitSkeleton(&read);
    EXPECT_EQ(VarnelReadBVH(path.c_str(), &read, 85.0f, 1.5f), 1) << path;
    std::vector<int> numbers = NumbersIn(read);
    VarnelFreeSkeletonFrames(&read);
    return numbers;
}

// The default actor with every bone a tenth longer.
ActorData TallActor()
{
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    for (float& bone : actor.bones)
        bone *= 1.1f;
    return actor;
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
    std::string MotionFile(const std::string& name, int first, int count)
    {
        MakeTake(state, Numbered(first, count));
        EXPECT_EQ(VarnelWriteBVH(folder.File(name).c_str(), &state.Skeleton), 1);
        return folder.File(name);
    }
    void UnsavedTake(int count)
    {
        MakeTake(state, Numbered(0, count));
        state.TakeUnsaved = 1;
    }
    void OpenASuit()
    {
        ASSERT_EQ(VarnelInit(), 1);
        ASSERT_EQ(FindSuitsWhileSending({{&suit, MakePacket("Walker")}}), 1);
        state.SuitHandle = VarnelOpen(nullptr, nullptr, nullptr);
    }
    ActorData SuitActor()
    {
        ActorData actor;
        VarnelGetActorData(state.SuitHandle, &actor);
        return actor;
    }

    TempFolder folder;
    TestSuit suit;
};

TEST_F(FileCommandTest, EachDialogStartsWhereItsLastFileWasAndProposesIt)
{
    const std::tuple<Command, bool, const char*, std::string ViewerSettings::*> cases[] = {
        {Command::Open, false, "walk.bvh", &ViewerState::CurrentFileDir},
        {Command::SaveAs, true, "walk.bvh", &ViewerState::CurrentFileDir},
        {Command::LoadActorFile, false, "walker.vnl", &ViewerState::CurrentActorFileDir},
        {Command::StoreActorFile, true, "walker.vnl", &ViewerState::CurrentActorFileDir}};
    OpenASuit();
    MotionFile("walk.bvh", 0, 1); // remembered also when it cannot be read
    for (auto [command, save, name, dir] : cases) {
        auto& choices = save ? shell.saveChoices : shell.openChoices;
        auto& shown = save ? shell.saveDialogs : shell.openDialogs;
        state.*dir = "/elsewhere";
        choices = {"", folder.File(name), ""}; // cancelled, chosen, cancelled
        for (int run = 0; run < 3; run++)
            RunCommand(state, shell, command);
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_EQ(shown[1].folder, "/elsewhere") << name; // the cancel changed nothing
        EXPECT_EQ(shown[2].folder, folder.path) << name;
        EXPECT_EQ(shown[2].proposedName, name);
        EXPECT_STREQ(shown[2].filter, std::string_view(name).ends_with(".bvh")
                                          ? "BVH file (*.bvh)"
                                          : "Actor Measurement file (*.vnl)");
        shown.clear();
    }
    std::string file, dir;
    RememberFile("/walk.bvh", file, dir);
    EXPECT_EQ(dir, "/");
}

TEST_F(FileCommandTest, OpenStopsPlaybackAndRecordingFirstAndShowsTheFileFromItsFirstFrame)
{
    const std::string path = MotionFile("walk.bvh", 100, 4);
    for (bool recording : {false, true}) {
        MakeTake(state, Numbered(0, 3));
        state.Recording = recording;
        state.Playing = !recording;
        state.PlaybackFrame = 2;
        shell.openChoices = {path};
        RunCommand(state, shell, Command::Open);
        EXPECT_EQ(state.Recording + state.Playing + state.Paused + state.PlaybackFrame, 0);
        EXPECT_EQ(shell.Status(StatusPane::Messages), "Ready");
        EXPECT_EQ(NumbersIn(state.Skeleton), (std::vector<int>{100, 101, 102, 103}));
    }
}

TEST_F(FileCommandTest, OpenSaysWhenItCannotReadAndAsksBeforeReplacingAnUnsavedTake)
{
    const std::string walk = MotionFile("walk.bvh", 100, 2), gone = folder.File("gone.bvh");
    UnsavedTake(3);
    state.Playing = 1;
    shell.openChoices = {gone, walk};
    shell.saveTakeAnswers = {Answer::Save};
    shell.saveChoices = {folder.File("mine.bvh")};
    RunCommand(state, shell, Command::Open); // gone: said, nothing else
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Can't open file " + gone);
    EXPECT_EQ(shell.saveTakeQuestions, 0);
    EXPECT_EQ(state.Playing, 1);

    RunCommand(state, shell, Command::Open); // the take saved first
    EXPECT_EQ(NumbersInFile(folder.File("mine.bvh")), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(NumbersIn(state.Skeleton), (std::vector<int>{100, 101}));
    EXPECT_EQ(state.CurrentFile, walk); // not the file the old take went to
}

TEST_F(FileCommandTest, TheGuardLetsATakeGoOnlyWhenSavedOrDiscarded)
{
    const std::string good = folder.File("take.bvh");
    const std::string unwritable = folder.File("missing/take.bvh"); // no such folder
    const struct {
        std::deque<Answer> answers;
        std::deque<std::string> saveChoices;
        bool mayGo;
        int unsavedAfter;
    } cases[] = {
        {{Answer::Cancel}, {}, false, 1},
        {{Answer::Discard}, {}, true, 0},
        {{Answer::Save}, {good}, true, 0},
        {{Answer::Save, Answer::Cancel}, {""}, false, 1},
        {{Answer::Save, Answer::Save}, {unwritable, good}, true, 0},
        {{Answer::Save, Answer::Cancel}, {unwritable}, false, 1},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        const auto& c = cases[i];
        std::filesystem::remove(good);
        RecordedMessages::Clear();
        UnsavedTake(3);
        shell.saveTakeQuestions = 0;
        shell.saveTakeAnswers = c.answers;
        shell.saveChoices = c.saveChoices;
        EXPECT_EQ(MayReplaceTake(state, shell), c.mayGo) << i;
        EXPECT_EQ(shell.saveTakeQuestions, int(c.answers.size())) << i;
        EXPECT_EQ(state.TakeUnsaved, c.unsavedAfter) << i;
        EXPECT_EQ(NumbersIn(state.Skeleton), (std::vector<int>{0, 1, 2})) << i;
        bool failed = c.saveChoices.size() && c.saveChoices[0] == unwritable;
        EXPECT_EQ(RecordedMessages::Texts(),
                  failed ? std::vector<std::string>{"Can't open file " + unwritable}
                         : std::vector<std::string>{})
            << i;
        if (c.mayGo && c.answers.back() == Answer::Save) {
            EXPECT_EQ(NumbersInFile(good), (std::vector<int>{0, 1, 2})) << i;
        }
    }
    // Saved and unchanged since: no question.
    shell.saveChoices = {good};
    RunCommand(state, shell, Command::SaveAs);
    shell.saveTakeQuestions = 0;
    EXPECT_TRUE(MayReplaceTake(state, shell));
    EXPECT_EQ(shell.saveTakeQuestions, 0);
}

TEST_F(FileCommandTest, SaveAsDuringARecordingWritesAWholeTakeAndKeepsLaterFramesUnsaved)
{
    MakeTake(state, {});
    state.Recording = 1;
    constexpr int Frames = 3000;
    const std::vector<SkeletonFrame> frames = Numbered(0, Frames);
    std::atomic<int> stored{0};
    std::thread recorder([&] { // as the frame callback stores frames
        for (const SkeletonFrame& frame : frames) {
            {
                std::lock_guard hold(state.takeLock);
                ASSERT_EQ(VarnelAddFrame(&state.Skeleton), 1);
                state.Skeleton.frames[state.Skeleton.numFrames - 1] = frame;
            }
            state.TakeUnsaved = 1;
            stored++;
        }
    });
    WaitUntil([&] { return stored > 0; });
    shell.saveChoices = {folder.File("take.bvh")};
    RunCommand(state, shell, Command::SaveAs);
    recorder.join();

    std::vector<int> numbers = NumbersInFile(folder.File("take.bvh"));
    ASSERT_FALSE(numbers.empty());
    for (size_t i = 0; i < numbers.size(); i++)
        ASSERT_EQ(numbers[i], int(i));
    EXPECT_EQ(state.TakeUnsaved, numbers.size() < size_t(Frames) ? 1 : 0);
}

TEST_F(FileCommandTest, ATakeThatCannotBeAskedAboutIsSavedWithoutReplacingAnyFile)
{
    for (int count : {2, 3}) {
        std::string before = state.CurrentFile;
        UnsavedTake(count);
        ASSERT_TRUE(SaveTakeForRecovery(state, shell, folder.path));
        EXPECT_NE(state.CurrentFile, before);
        EXPECT_EQ(state.CurrentFileDir, folder.path);
        EXPECT_EQ(state.TakeUnsaved, 0);
    }
    std::multiset<size_t> frameCounts;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        frameCounts.insert(NumbersInFile(entry.path()).size());
    EXPECT_EQ(frameCounts, (std::multiset<size_t>{2, 3}));
}

TEST_F(FileCommandTest, ActorCommandsWithoutASuitSaySoOnlyForTheFiles)
{
    MakeTake(state, Numbered(0, 1));
    const Skeleton before = state.Skeleton;
    for (Command command :
         {Command::LoadActorFile, Command::StoreActorFile, Command::DefaultModel}) {
        shell.openChoices = shell.saveChoices = {folder.File("walker.vnl")};
        RunCommand(state, shell, command);
    }
    ASSERT_EQ(shell.messages.size(), 2u);
    for (const FakeShell::Message& message : shell.messages) {
        EXPECT_EQ(message.text, "You must first connect to a Varnel suit");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(shell.openDialogs.size() + shell.saveDialogs.size(), 0u);
    EXPECT_EQ(std::memcmp(&before, &state.Skeleton, sizeof before), 0);
}

TEST_F(FileCommandTest, ActorFilesGoBetweenTheSuitAndFilesAndDefaultModelKeepsTheFrames)
{
    OpenASuit();
    const ActorData original = SuitActor(), tall = TallActor();
    const std::string stored = folder.File("stored.vnl"), missing = folder.File("missing.vnl");
    VarnelSetActorData(state.SuitHandle, &tall);
    shell.saveChoices = {stored};
    RunCommand(state, shell, Command::StoreActorFile);
    EXPECT_NE(ReadWholeFile(stored).find("Units=Inches"), std::string::npos);
    VarnelSetActorData(state.SuitHandle, &original);

    shell.openChoices = {missing, stored};
    RunCommand(state, shell, Command::LoadActorFile);
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Error reading file " + missing);
    EXPECT_EQ(SuitActor().bones[0], original.bones[0]);
    RunCommand(state, shell, Command::LoadActorFile);
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Reading file " + stored);
    EXPECT_NEAR(SuitActor().bones[0], tall.bones[0], 1e-4f);

    MakeTake(state, Numbered(5, 2));
    const std::vector<int> numbers = NumbersIn(state.Skeleton);
    RunCommand(state, shell, Command::DefaultModel);
    Skeleton expected = {};
    VarnelInitSkeleton(&expected);
    VarnelCopyActorToSkeleton(&expected, &tall);
    for (int node = 0; node < 25; node++)
        EXPECT_VECTOR_NEAR(state.Skeleton.nodes[node].offset, expected.nodes[node].offset, 1e-4f)
            << node;
    EXPECT_EQ(NumbersIn(state.Skeleton), numbers);
    VarnelFreeSkeletonFrames(&expected);
}
} // namespace
