#include "common/text_limits.h"
#include "tests/support/temp_folder.h"
#include "tools/actor/actor_conversion.h"
#include "tools/cli/commands.h"
#include "tools/info/actor_description.h"
#include "tools/info/bvh_description.h"
#include "tools/info/file_description.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {
const std::string GoldenActor = VARNEL_SOURCE_DIR "/tests/data/golden/actor/";

struct Output {
    std::ostringstream out, errors;
};

// Text through a pipe, as `cat FILE | varnel info /dev/stdin` gives it, in
// pieces of PIPE_BUF bytes, which a reader receives whole; endless text
// repeats until the reading side is closed.
class PipeFeed {
  public:
    PipeFeed(const std::string& text, bool endless)
    {
        EXPECT_EQ(pipe(ends), 0);
        writer = std::thread([this, text, endless] {
            // A reader that stops early must not end the test.
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            while (WriteInPieces(text) && endless) {
            }
            close(ends[1]);
        });
    }
    ~PipeFeed()
    {
        close(ends[0]);
        writer.join();
    }
    std::string Path() const { return "/dev/fd/" + std::to_string(ends[0]); }

  private:
    bool WriteInPieces(const std::string& text)
    {
        for (size_t at = 0; at < text.size(); at += PIPE_BUF) {
            size_t size = std::min<size_t>(PIPE_BUF, text.size() - at);
            if (write(ends[1], text.data() + at, size) != ssize_t(size))
                return false;
        }
        return true;
    }

    int ends[2] = {-1, -1};
    std::thread writer;
};

// Runs `varnel actor ...` through its command-line parser.
int RunActorCommand(const std::string& arguments)
{
    CLI::App app;
    int exitStatus = -1;
    AddActorCommand(app, exitStatus);
    app.parse("actor " + arguments, false);
    return exitStatus;
}

TEST(ActorCommand, ConvertsBetweenUnitsNamedInAnyCase)
{
    TempFolder folder;
    const std::string feet = folder.File("feet.vnl");
    EXPECT_EQ(
        RunActorCommand(GoldenActor + "default-meters/expected.vnl -o " + feet + " --units fEEt"),
        0);
    EXPECT_EQ(ReadWholeFile(feet), ReadWholeFile(GoldenActor + "default-feet/expected.vnl"));
    EXPECT_THROW(
        RunActorCommand(GoldenActor + "default-meters/expected.vnl -o " + feet + " --units metres"),
        CLI::ValidationError);

    PipeFeed meters(ReadWholeFile(GoldenActor + "default-meters/expected.vnl"), false);
    EXPECT_EQ(RunActorCommand(meters.Path() + " -o " + feet + " --units Feet"), 0);
    EXPECT_EQ(ReadWholeFile(feet), ReadWholeFile(GoldenActor + "default-feet/expected.vnl"));
}

TEST(ActorCommand, SaysWhatIsWrongWithTheInput)
{
    TempFolder folder;
    std::string text = ReadWholeFile(GoldenActor + "default-inches/expected.vnl");
    const std::string badScale =
        folder.Write("bad.vnl", text.replace(text.find("ChestX=1"), 8, "ChestX=wide"));
    const std::string unknownUnit =
        folder.Write("unit.vnl", "[Units]\nUnits=\x1b[2JFurlongs\n[Bones]\nLeftPelvis=5\n");
    const std::string out = folder.File("out.vnl");

    Output a, b, c, d;
    EXPECT_EQ(ConvertActorFile(badScale, out, ActorUnitsFeet, a.out, a.errors), 1);
    EXPECT_EQ(a.errors.str(),
              "Error reading file " + badScale + ": [Scales] ChestX is missing or not a number\n");
    EXPECT_EQ(ConvertActorFile(unknownUnit, out, ActorUnitsFeet, b.out, b.errors), 1);
    EXPECT_NE(b.errors.str().find("Unknown units \"?[2JFurlongs\""), std::string::npos);
    EXPECT_EQ(ConvertActorFile(folder.File("none.vnl"), out, 0, c.out, c.errors), 1);
    EXPECT_EQ(c.errors.str(), "Can't open file " + folder.File("none.vnl") + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string good = GoldenActor + "default-inches/expected.vnl";
    EXPECT_EQ(ConvertActorFile(good, folder.File("no/folder.vnl"), 0, d.out, d.errors), 1);
    EXPECT_EQ(d.errors.str(), "Can't write file " + folder.File("no/folder.vnl") + "\n");
}

TEST(InfoCommand, TellsActorFilesFromMotionFiles)
{
    TempFolder folder;
    EXPECT_TRUE(IsActorFile(folder.Write("ACTOR.VNL", "")));
    EXPECT_TRUE(IsActorFile(folder.Write("actor.txt", "\n; comment\n[ units ]\nUnits=Feet\n")));
    EXPECT_FALSE(IsActorFile(folder.Write("bones.txt", "[Bones]\n[Units]\n")));
    EXPECT_FALSE(
        IsActorFile(std::string(VARNEL_SOURCE_DIR "/tests/data/external-bvh/bvhio_example.bvh")));
}

TEST(InfoCommand, DescribesAnActorFileInItsOwnUnits)
{
    Output result;
    ASSERT_EQ(
        DescribeActorFile(GoldenActor + "default-meters/expected.vnl", result.out, result.errors),
        0);
    const std::string text = result.out.str();
    EXPECT_NE(text.find("Units: Meters\n"), std::string::npos);
    EXPECT_NE(text.find("\n[Bones]\n  LeftPelvis         0.127\n  LeftUpperLeg       0.4445\n"),
              std::string::npos);
    // Angles and scales keep their values whatever the unit.
    EXPECT_NE(text.find("[Scales]\n  PositionX          1\n"), std::string::npos);
    EXPECT_NE(text.find("  RightShoulderZ     1.3\n"), std::string::npos);
    EXPECT_LT(text.find("[Displacements]"), text.find("[Scales]"));
    EXPECT_LT(text.find("[Scales]"), text.find("[Tweaks]"));
}

TEST(InfoCommand, DescribesAMotionFile)
{
    // Three frames: the hips travel 10 along x and 2 down; the first and
    // last stand on both heels, the middle one on the left ball.
    Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    const SkeletonFrame rest = skeleton.frames[0];
    ASSERT_EQ(VarnelAddFrame(&skeleton), 1);
    ASSERT_EQ(VarnelAddFrame(&skeleton), 1);
    for (int i = 0; i < 3; i++) {
        skeleton.frames[i] = rest;
        skeleton.frames[i].channels[0] = 5.0f * float(i);
    }
    skeleton.frames[1].channels[2] -= 2.0f;
    skeleton.frames[1].channels[12] = 30.0f; // left ankle X: the ball drops below the heels
    skeleton.frameTime = 0.04f;
    TempFolder folder;
    const std::string path = folder.File("walk.bvh");
    ASSERT_EQ(VarnelWriteBVH(path.c_str(), &skeleton), 1);
    VarnelFreeSkeletonFrames(&skeleton);

    Output result;
    ASSERT_EQ(DescribeBvhFile(path, result.out, result.errors), 0) << result.errors.str();
    const std::string text = result.out.str();
    EXPECT_NE(text.find("Frames: 3\n"), std::string::npos);
    EXPECT_NE(text.find("Frame time: 0.04 s (25 frames per second)\n"), std::string::npos);
    EXPECT_NE(text.find("Duration: 0.120 s\n"), std::string::npos);
    EXPECT_NE(text.find("  LeftKnee           0.0000     0.0000   -17.5000\n"), std::string::npos);
    EXPECT_NE(text.find("  x           0.0000    10.0000    10.0000\n"), std::string::npos);
    EXPECT_NE(text.find("  z          34.5000    36.5000     2.0000\n"), std::string::npos);
    EXPECT_NE(text.find("  LeftFootHeel          2   66.7%\n"), std::string::npos);
    EXPECT_NE(text.find("  LeftFootBall          1   33.3%\n"), std::string::npos);
}

TEST(InfoCommand, ReadsAPipeOnceAndNamesIt)
{
    struct Case {
        std::string text;
        bool endless;
        int status;
        std::string before, after; // around the pipe's name
    };
    const Case cases[] = {
        {ReadWholeFile(VARNEL_SOURCE_DIR "/tests/data/external-bvh/bvhio_example.bvh"), false, 0,
         "", ": BVH motion\nFrames: 2\n"},
        {ReadWholeFile(GoldenActor + "default-feet/expected.vnl"), false, 0, "",
         ": actor measurements\nUnits: Feet\n"},
        {std::string(65536, '\0'), true, 1, "Incorrect format in file ", ", line 1\n"},
    };
    for (const Case& test : cases) {
        PipeFeed feed(test.text, test.endless);
        Output result;
        EXPECT_EQ(DescribeFile(feed.Path(), result.out, result.errors), test.status);
        std::string said = result.out.str() + result.errors.str();
        EXPECT_EQ(said.find(test.before + feed.Path() + test.after), 0u) << said;
    }
}

TEST(InfoCommand, CopiesAPipeUpToItsFirstOverlongLineIntoTheTemporaryFolder)
{
    const char* saved = std::getenv("TMPDIR");
    const std::string savedFolder = saved ? saved : "";
    const std::string temporary = std::filesystem::temp_directory_path().string();
    TempFolder folder;
    const std::string shortLines = std::string(PIPE_BUF - 1, 'y') + "\n";
    struct Case {
        std::string text, temporaryFolder, error; // no error: the copy is made
    };
    const Case cases[] = {
        {shortLines, temporary, ": more than 4 MiB from a pipe or device\n"},
        // That line ends in the piece that brings the next line.
        {std::string(MaxLineLength, 'x') + "x\ny\n", temporary, ""},
        {shortLines, folder.File("missing"),
         ": cannot copy it to " + folder.File("missing") + " (No such file or directory)\n"},
    };
    for (const Case& test : cases) {
        PipeFeed feed(test.text, true);
        setenv("TMPDIR", test.temporaryFolder.c_str(), 1);
        ReplayableFile copy(4 << 20);
        std::ostringstream errors;
        EXPECT_EQ(copy.Open(feed.Path(), errors), test.error.empty());
        EXPECT_EQ(errors.str(),
                  test.error.empty() ? "" : "Can't read file " + feed.Path() + test.error);
    }
    if (savedFolder.empty())
        unsetenv("TMPDIR");
    else
        setenv("TMPDIR", savedFolder.c_str(), 1);
}

TEST(InfoCommand, GivesTheLibraryMessageForABadMotionFile)
{
    TempFolder folder;
    const std::string path = folder.Write("bad.bvh", "HIERARCHY\nROOT Pelvis\n{\n");
    Output bad, missing;
    EXPECT_EQ(DescribeBvhFile(path, bad.out, bad.errors), 1);
    EXPECT_EQ(bad.errors.str(), "Incorrect format in file " + path + ", line 2\n");
    EXPECT_EQ(DescribeBvhFile(folder.File("none.bvh"), missing.out, missing.errors), 1);
    EXPECT_EQ(missing.errors.str(), "Can't open file " + folder.File("none.bvh") + "\n");
    Output folderInstead;
    EXPECT_EQ(DescribeBvhFile(folder.path, folderInstead.out, folderInstead.errors), 1);
    EXPECT_EQ(folderInstead.errors.str(), "Can't open file " + folder.path + "\n");
    EXPECT_EQ(bad.out.str() + missing.out.str() + folderInstead.out.str(), "");
}
} // namespace
