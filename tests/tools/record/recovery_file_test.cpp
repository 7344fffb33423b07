#include "tests/support/temp_folder.h"
#include "tools/record/recovery_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace {
// Runs the test in another working folder and $TMPDIR, restored afterwards.
class RecoveryFile : public testing::Test {
  protected:
    RecoveryFile() : working(std::filesystem::current_path())
    {
        const char* temporary = std::getenv("TMPDIR");
        if (temporary)
            savedTemporary = temporary;
        VarnelInitSkeleton(&take);
        take.frames[0].channels[0] = 12.5f;
    }
    ~RecoveryFile() override
    {
        std::filesystem::current_path(working);
        if (savedTemporary.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", savedTemporary.c_str(), 1);
        VarnelFreeSkeletonFrames(&take);
    }
    // The file written, which must hold the take, in folder.
    void ExpectWrittenIn(const std::string& written, const std::string& folder)
    {
        EXPECT_EQ(std::filesystem::path(written).parent_path(), std::filesystem::path(folder));
        EXPECT_TRUE(
            std::filesystem::path(written).filename().string().starts_with("take.recovered-"))
            << written;
        Skeleton read;
        VarnelInitSkeleton(&read);
        EXPECT_EQ(VarnelReadBVH(written.c_str(), &read, 85.0f, 1.5f), 1);
        EXPECT_EQ(read.frames[0].channels[0], 12.5f);
        VarnelFreeSkeletonFrames(&read);
    }

    std::filesystem::path working;
    std::string savedTemporary;
    Skeleton take;
    TempFolder output, current, temporary;
};

TEST_F(RecoveryFile, BesideTheOutputWithoutWritingOverAnything)
{
    std::string first = WriteRecoveryFile(take, output.File("take.bvh"));
    std::string second = WriteRecoveryFile(take, output.File("take.bvh"));
    EXPECT_NE(first, second);
    ExpectWrittenIn(first, output.path);
    ExpectWrittenIn(second, output.path);
}

TEST_F(RecoveryFile, ElseInTheWorkingFolderElseInTheTemporaryFolder)
{
    std::filesystem::current_path(current.path);
    setenv("TMPDIR", temporary.path.c_str(), 1);
    ExpectWrittenIn(WriteRecoveryFile(take, output.File("gone/take.bvh")), ".");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(current.path), {}), 1);

    // A working folder that was removed takes no file.
    std::filesystem::remove_all(current.path);
    ExpectWrittenIn(WriteRecoveryFile(take, output.File("gone/take.bvh")), temporary.path);
}
} // namespace
