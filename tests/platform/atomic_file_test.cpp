#include "atomic_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
AtomicFileOpen WriteText(const std::string& path, const char* text)
{
    AtomicFile file;
    AtomicFileOpen opened = file.Open(path.c_str());
    if (opened == AtomicFileOpen::Opened) {
        file.WriteText(text);
        EXPECT_TRUE(file.Commit()) << path;
    }
    return opened;
}

// Runs body in a child process and returns its exit status (or -1).
template <typename Body> int InChild(Body body)
{
    pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AtomicFile, ReplacedFileKeepsSetIdBits)
{
    TempFolder folder;
    const std::string path = folder.Write("tool", "old");
    ASSERT_EQ(chmod(path.c_str(), 04750), 0);
    ASSERT_EQ(WriteText(path, "new"), AtomicFileOpen::Opened);
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 04750u);
}

TEST(AtomicFile, ReplacedFileKeepsItsGroupWhenTheOwnerCannotBeKept)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file to another user";
    TempFolder folder;
    const gid_t sharedGroup = 4242;
    const std::string path = folder.Write("shared.vnl", "old");
    ASSERT_EQ(chown(path.c_str(), 0, sharedGroup), 0);
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    ASSERT_EQ(chmod(folder.path.c_str(), 0777), 0);

    const int status = InChild([&] {
        // A member of the file's group, but neither its owner nor root.
        if (setgroups(1, &sharedGroup) != 0 || setresgid(65534, 65534, 65534) != 0 ||
            setresuid(65534, 65534, 65534) != 0)
            return 2;
        return WriteText(path, "new") == AtomicFileOpen::Opened ? 0 : 1;
    });
    if (status == 2)
        GTEST_SKIP() << "cannot drop privileges here";
    ASSERT_EQ(status, 0);
    struct stat written;
    ASSERT_EQ(stat(path.c_str(), &written), 0);
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(written.st_gid, sharedGroup);
    EXPECT_EQ(written.st_mode & 07777, 0664u);
}

} // namespace
