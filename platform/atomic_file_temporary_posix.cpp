#include "platform/atomic_file_temporary.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char TemporaryPrefix[] = ".varnel-";
constexpr char TemporarySuffix[] = ".tmp";
// No write takes a day: a temporary file that old lost its writer.
constexpr time_t StaleSeconds = 24 * 60 * 60;

std::atomic<unsigned> temporaryCounter{0};

bool HasTemporaryName(std::string_view name)
{
    return name.starts_with(TemporaryPrefix) && name.ends_with(TemporarySuffix);
}
} // namespace

int CreateTemporaryFile(const std::string& folder, mode_t mode, std::string* path)
{
    // A name taken by a file a killed write left behind is skipped.
    for (int attempt = 0; attempt < 100; attempt++) {
        char name[48];
        std::snprintf(name, sizeof name, "%s%x-%x%s", TemporaryPrefix, unsigned(getpid()),
                      temporaryCounter.fetch_add(1), TemporarySuffix);
        *path = folder + name;
        int descriptor = open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

void RemoveStaleTemporaryFiles(const std::string& folder)
{
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing)
        return;
    const time_t staleBefore = time(nullptr) - StaleSeconds;
    while (const dirent* entry = readdir(listing)) {
        if (!HasTemporaryName(entry->d_name))
            continue;
        struct stat status;
        if (fstatat(dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_mtime < staleBefore)
            unlinkat(dirfd(listing), entry->d_name, 0);
    }
    closedir(listing);
}
