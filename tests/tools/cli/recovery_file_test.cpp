#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/environment_variable.h"
#include "tools/cli/recovery_file.h"
#include "varnel.h"

#include <gtest/gtest.h>

namespace {
// Runs the test in another working folder, restored afterwards.
class RecoveryFile : public testing::Test {
  protected:
    RecoveryFile() : working(std::filesystem::current_path())
    {
        take->frames[0].channels[0] = 12.5f;
    }
    ~RecoveryFile() override { std::filesystem::current_path(working); }
    // The file written, which must hold the take, in folder.
    void ExpectWrittenIn(const std::string& written, const std::string& folder)
    {
        EXPECT_EQ(std::filesystem::path(written).parent_path(), std::filesystem::path(folder));
        EXPECT_TRUE(
            std::filesystem::path(written).filename().string().starts_with("take.recovered-"))
            << written;
        OwnedSkeleton read;
        EXPECT_EQ(VarnelReadBVH(written.c_str(), read.get(), VARNEL_DEFAULT_ANKLE_HEEL_BALL_ANGLE,
                                VARNEL_DEFAULT_BALL_TO_HEEL_RATIO),
                  1);
        EXPECT_EQ(read->frames[0].channels[0], 12.5f);
    }

    std::filesystem::path working;
    OwnedSkeleton take;
    TempFolder output, current, temporary;
};

TEST_F(RecoveryFile, BesideTheOutputWithoutWritingOverAnything)
{
    std::string first = WriteRecoveryFile(take.skeleton, output.File("take.bvh"));
    std::string second = WriteRecoveryFile(take.skeleton, output.File("take.bvh"));
    EXPECT_NE(first, second);
    ExpectWrittenIn(first, output.path);
    ExpectWrittenIn(second, output.path);
}

TEST_F(RecoveryFile, ElseInTheWorkingFolderElseInTheTemporaryFolder)
{
    std::filesystem::current_path(current.path);
    ScopedEnvironmentVariable temporaryFolder("TMPDIR", temporary.path);
    ExpectWrittenIn(WriteRecoveryFile(take.skeleton, output.File("gone/take.bvh")), ".");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(current.path), {}), 1);

    // A working folder that was removed takes no file.
    std::filesystem::remove_all(current.path);
    ExpectWrittenIn(WriteRecoveryFile(take.skeleton, output.File("gone/take.bvh")), temporary.path);
}
} // namespace
