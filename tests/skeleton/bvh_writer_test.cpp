// The written text, byte for byte, and writes that fail without harm.
#include "skeleton_test_support.h"

#include <cmath>
#include <sstream>
#include <thread>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Applies a golden case's input.txt to a fresh default skeleton.
void ApplyGoldenInput(const std::string& input, Skeleton* skeleton)
{
    std::istringstream lines(input);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command.empty() || command[0] == '#')
            continue;
        if (command == "free") {
            VarnelFreeSkeletonFrames(skeleton);
        } else if (command == "channel") {
            int frame, channel;
            float value;
            words >> frame >> channel >> value;
            ASSERT_LT(frame, skeleton->numFrames);
            skeleton->frames[frame].channels[channel] = value;
        } else {
            FAIL() << "unknown golden command " << command;
        }
    }
}

// Runs body in a child process and returns its exit status (or -1).
template <typename Body> int InChild(Body body)
{
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr int WroteNothingAndReported = 7;
} // namespace

class BvhWriterGolden : public testing::TestWithParam<const char*> {};

TEST_P(BvhWriterGolden, WritesTheExpectedBytes)
{
    std::string folder = SourcePath(std::string("tests/data/golden/bvh/") + GetParam());
    OwnedSkeleton skeleton;
    ApplyGoldenInput(ReadFileText(folder + "/input.txt"), skeleton.get());
    ScratchFolder scratch;
    ASSERT_EQ(VarnelWriteBVH(scratch.Path("out.bvh").c_str(), skeleton.get()), 1);
    std::string expected = ReadFileText(folder + "/expected.bvh");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadFileText(scratch.Path("out.bvh")), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BvhWriterGolden,
                         testing::Values("default_zero_frames", "left_shoulder_frame"));

TEST(BvhWriter, ReplacesAFileWholeAndKeepsItsPermissions)
{
    ScratchFolder scratch;
    std::string path = scratch.Path("take.bvh");
    WriteFileText(path, "old take");
    chmod(path.c_str(), 0640);
    std::string link = scratch.Path("link.bvh");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);

    OwnedSkeleton skeleton;
    FillTake(skeleton.get(), 50);
    ASSERT_EQ(VarnelWriteBVH(link.c_str(), skeleton.get()), 1);
    std::string text = ReadFileText(path);
    EXPECT_EQ(text.rfind("HIERARCHY\n", 0), 0u);
    EXPECT_EQ(SplitLines(text).size(), 114u + 50u);
    struct stat status;
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode)) << "the link was replaced";
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(scratch.Entries().size(), 2u) << "a temporary file was left";
}

// NaN and infinity are what the reader refuses: a channel holds its last
// finite value (0 before any), an offset becomes 0.
TEST(BvhWriter, NonFiniteNumbersAreNeverWritten)
{
    OwnedSkeleton skeleton;
    FillTake(skeleton.get(), 3);
    skeleton->frames[0].channels[4] = NAN;
    skeleton->frames[1].channels[30] = NAN;
    skeleton->frames[2].channels[0] = -INFINITY;
    skeleton->nodes[NodeLeftKnee].offset.z = INFINITY;
    const Skeleton& written = skeleton.skeleton;
    ScratchFolder scratch;
    std::string path = scratch.Path("take.bvh");
    ASSERT_EQ(VarnelWriteBVH(path.c_str(), skeleton.get()), 1);

    std::string text = ReadFileText(path);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
    OwnedSkeleton read;
    ASSERT_EQ(VarnelReadBVH(path.c_str(), read.get(), 85.0f, 1.5f), 1);
    ASSERT_EQ(read->numFrames, 3);
    EXPECT_EQ(read->frames[0].channels[4], 0.0f);
    EXPECT_NEAR(read->frames[1].channels[30], written.frames[0].channels[30], 1e-5f);
    EXPECT_NEAR(read->frames[2].channels[0], written.frames[1].channels[0], 1e-5f);
    EXPECT_EQ(read->nodes[NodeLeftKnee].offset.z, 0.0f);
}

TEST(BvhWriter, MissingFolderCannotBeOpened)
{
    RecordedMessages messages;
    ScratchFolder scratch;
    std::string path = scratch.Path("missing/take.bvh");
    OwnedSkeleton skeleton;
    EXPECT_EQ(VarnelWriteBVH(path.c_str(), skeleton.get()), 0);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can't open file " + path});
}

TEST(BvhWriter, FullDiskLeavesThePreviousFile)
{
    ScratchFolder scratch;
    std::string path = scratch.Path("take.bvh");
    WriteFileText(path, "previous take");
    OwnedSkeleton skeleton;
    FillTake(skeleton.get(), 400);

    int status = InChild([&] {
        RecordedMessages messages;
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        int result = VarnelWriteBVH(path.c_str(), skeleton.get());
        bool reported = messages.Texts() == std::vector<std::string>{"Can't write file " + path};
        return result == 0 && reported ? WroteNothingAndReported : 1;
    });
    EXPECT_EQ(status, WroteNothingAndReported);
    EXPECT_EQ(ReadFileText(path), "previous take");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"take.bvh"});
}

TEST(BvhWriter, ReadOnlyFolderLeavesThePreviousFile)
{
    ScratchFolder scratch;
    std::string path = scratch.Path("take.bvh");
    WriteFileText(path, "previous take");
    chmod(path.c_str(), 0666);
    OwnedSkeleton skeleton;
    std::string folder = path.substr(0, path.rfind('/'));
    chmod(folder.c_str(), 0555);

    int status = InChild([&] {
        // Root writes anywhere: become nobody, for whom the folder is read-only.
        if (geteuid() == 0 &&
            (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0))
            return 2;
        RecordedMessages messages;
        int result = VarnelWriteBVH(path.c_str(), skeleton.get());
        bool reported = messages.Texts() == std::vector<std::string>{"Can't write file " + path};
        return result == 0 && reported ? WroteNothingAndReported : 1;
    });
    chmod(folder.c_str(), 0755);
    if (status == 2)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(status, WroteNothingAndReported);
    EXPECT_EQ(ReadFileText(path), "previous take");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"take.bvh"});
}

TEST(BvhWriter, WriteProtectedFileCannotBeOpened)
{
    ScratchFolder scratch;
    std::string path = scratch.Path("take.bvh");
    WriteFileText(path, "previous take");
    chmod(path.c_str(), 0444);
    std::string folder = path.substr(0, path.rfind('/'));
    chmod(folder.c_str(), 0777);
    OwnedSkeleton skeleton;

    int status = InChild([&] {
        // Root writes a 0444 file: become nobody, who may still add files here.
        if (geteuid() == 0 &&
            (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0))
            return 2;
        RecordedMessages messages;
        int result = VarnelWriteBVH(path.c_str(), skeleton.get());
        bool reported = messages.Texts() == std::vector<std::string>{"Can't open file " + path};
        return result == 0 && reported ? WroteNothingAndReported : 1;
    });
    if (status == 2)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(status, WroteNothingAndReported);
    EXPECT_EQ(ReadFileText(path), "previous take");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"take.bvh"});
}

TEST(BvhWriter, PipeIsWrittenInPlace)
{
    ScratchFolder scratch;
    std::string path = scratch.Path("pipe");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFileText(path); });
    OwnedSkeleton skeleton;
    EXPECT_EQ(VarnelWriteBVH(path.c_str(), skeleton.get()), 1);
    reader.join();
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    ASSERT_EQ(VarnelWriteBVH(scratch.Path("regular.bvh").c_str(), skeleton.get()), 1);
    EXPECT_EQ(received, ReadFileText(scratch.Path("regular.bvh")));
    EXPECT_NE(received.find("Frames:       1\n"), std::string::npos);
    EXPECT_EQ(scratch.Entries().size(), 2u);
}
