#include "platform/atomic_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <set>

#include <fcntl.h>
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

std::set<std::string> Entries(const TempFolder& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        names.insert(entry.path().filename().string());
    return names;
}

void Age(const std::string& path, int hours)
{
    timespec times[2] = {{time(nullptr) - hours * 3600L, 0}, {time(nullptr) - hours * 3600L, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
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

TEST(AtomicFile, WritesTheLongestLegalName)
{
    TempFolder folder;
    const std::string path = folder.File(std::string(NAME_MAX, 'n'));
    ASSERT_EQ(WriteText(path, "text"), AtomicFileOpen::Opened);
    EXPECT_EQ(ReadWholeFile(path), "text");
    EXPECT_EQ(Entries(folder).size(), 1u);
}

struct LinkCase {
    const char* name;
    // Link name and link text; a text starting with '/' is taken inside the
    // folder, to make an absolute link.
    std::vector<std::pair<const char*, const char*>> links;
    AtomicFileOpen expected;
    const char* written; // the file that receives the text, or null
};

TEST(AtomicFile, FollowsLinksToTheirFinalTarget)
{
    const LinkCase cases[] = {
        {"dangling", {{"link", "target"}}, AtomicFileOpen::Opened, "target"},
        {"chain of relative and absolute",
         {{"link", "/sub/hop"}, {"sub/hop", "../target"}},
         AtomicFileOpen::Opened,
         "target"},
        {"into a missing folder",
         {{"link", "missing/target"}},
         AtomicFileOpen::CannotOpen,
         nullptr},
        {"to itself", {{"link", "link"}}, AtomicFileOpen::CannotOpen, nullptr},
        {"loop", {{"link", "hop"}, {"hop", "link"}}, AtomicFileOpen::CannotOpen, nullptr},
    };
    for (const LinkCase& test : cases) {
        SCOPED_TRACE(test.name);
        TempFolder folder;
        std::filesystem::create_directory(folder.File("sub"));
        for (const auto& [name, text] : test.links) {
            std::string target = text[0] == '/' ? folder.path + text : text;
            ASSERT_EQ(symlink(target.c_str(), folder.File(name).c_str()), 0);
        }
        const std::set<std::string> before = Entries(folder);

        EXPECT_EQ(WriteText(folder.File("link"), "text"), test.expected);
        for (const auto& link : test.links)
            EXPECT_TRUE(std::filesystem::is_symlink(folder.File(link.first))) << link.first;
        std::set<std::string> after = Entries(folder);
        if (test.written) {
            EXPECT_EQ(ReadWholeFile(folder.File(test.written)), "text");
            after.erase(test.written);
        }
        EXPECT_EQ(after, before);
    }
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

TEST(AtomicFile, RemovesOnlyTemporariesStaleForADay)
{
    TempFolder folder;
    // A write killed before its commit leaves its temporary file behind.
    ASSERT_EQ(InChild([&] {
                  AtomicFile file;
                  file.Open(folder.File("take.bvh").c_str());
                  file.WriteText("partial");
                  _exit(0);
                  return 1;
              }),
              0);
    ASSERT_EQ(Entries(folder).size(), 1u);
    const std::string leftover = *Entries(folder).begin();

    // Old, but not regular files of the pattern.
    std::filesystem::create_directory(folder.File(".varnel-folder.tmp"));
    ASSERT_EQ(symlink("keep.txt", folder.File(".varnel-link.tmp").c_str()), 0);
    for (const char* name : {"keep.txt", "take.tmp", ".varnel-take.bvh"})
        folder.Write(name, "");
    std::set<std::string> kept = Entries(folder);
    for (const std::string& name : kept)
        Age(folder.File(name), 25);
    Age(folder.Write(".varnel-young.tmp", ""), 23);
    kept.erase(leftover);

    ASSERT_EQ(WriteText(folder.File("take.bvh"), "take"), AtomicFileOpen::Opened);
    kept.insert({".varnel-young.tmp", "take.bvh"});
    EXPECT_EQ(Entries(folder), kept);
}
} // namespace
