#include "platform/atomic_file.h"
#include "platform/atomic_file_temporary.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Errors that say the path itself is unusable, as opposed to a folder that
// refuses new files.
bool NamesNoFile(int error)
{
    return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP ||
           error == EISDIR;
}

// Only a refusal counts; other failures (a read-only file system) show when
// the temporary file is made.
bool MayWrite(const char* path)
{
    return faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) == 0 || (errno != EACCES && errno != EPERM);
}

// The owner goes first: changing it may clear the set-id bits. A writer who
// may not give the file away may still keep its group.
void KeepOwnerAndMode(int descriptor, const struct stat& target)
{
    if (fchown(descriptor, target.st_uid, target.st_gid) != 0 &&
        fchown(descriptor, uid_t(-1), target.st_gid) != 0) {
        // the new file is then the writer's own
    }
    fchmod(descriptor, target.st_mode & 07777);
}

// The path's folder with its final '/', or "" for the current folder.
std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/') + 1);
}

// Follows the links the path ends in, so that the file they lead to is
// replaced (or created, when only it is missing) and the links stay links.
// Returns 0 with the final file's status, ENOENT when that file is missing,
// or the errno that stopped the walk.
int FollowLinks(const char* path, std::string* finalPath, struct stat* status)
{
    constexpr int MaxLinkHops = 40; // the kernel's own limit
    *finalPath = path;
    for (int hop = 0; hop <= MaxLinkHops; hop++) {
        if (lstat(finalPath->c_str(), status) != 0)
            return errno;
        if (!S_ISLNK(status->st_mode))
            return 0;
        char text[PATH_MAX];
        ssize_t length = readlink(finalPath->c_str(), text, sizeof text);
        if (length < 0)
            return errno;
        if (size_t(length) == sizeof text)
            return ENAMETOOLONG;
        // A relative link counts from the folder that holds it.
        std::string next(text, size_t(length));
        *finalPath = next[0] == '/' ? next : FolderOf(*finalPath) + next;
    }
    return ELOOP;
}

void SyncFolderOf(const std::string& path)
{
    std::string folder = FolderOf(path);
    int descriptor =
        open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor); // the rename is already visible; this only makes it durable
    close(descriptor);
}
} // namespace

AtomicFileOpen AtomicFile::Open(const char* path)
{
    Abandon();
    if (!path || !*path)
        return AtomicFileOpen::CannotOpen;

    std::string finalPath;
    struct stat target;
    int error = FollowLinks(path, &finalPath, &target);
    if (error != 0 && error != ENOENT)
        return NamesNoFile(error) ? AtomicFileOpen::CannotOpen : AtomicFileOpen::CannotWrite;
    bool exists = error == 0;
    if (exists && S_ISDIR(target.st_mode))
        return AtomicFileOpen::CannotOpen;
    if (exists && !S_ISREG(target.st_mode)) {
        descriptor = open(finalPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (descriptor < 0)
            return AtomicFileOpen::CannotOpen;
        inPlace = true;
        return AtomicFileOpen::Opened;
    }

    // The rename needs only the folder's permission; the file's own must
    // still be honoured.
    if (exists && !MayWrite(finalPath.c_str()))
        return AtomicFileOpen::CannotOpen;

    targetPath = finalPath;
    const std::string folder = FolderOf(targetPath);
    // A replaced file's text stays private until it has the file's own mode.
    descriptor = CreateTemporaryFile(folder, exists ? 0600 : 0666, &temporaryPath);
    if (descriptor < 0) {
        error = errno;
        temporaryPath.clear();
        return NamesNoFile(error) ? AtomicFileOpen::CannotOpen : AtomicFileOpen::CannotWrite;
    }
    if (exists) {
        KeepOwnerAndMode(descriptor, target);
        replacedMode = target.st_mode & 07777;
    }
    RemoveStaleTemporaryFiles(folder);
    return AtomicFileOpen::Opened;
}

bool AtomicFile::Write(const void* data, size_t size)
{
    if (descriptor < 0)
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0 && !failed) {
        ssize_t written = write(descriptor, bytes, size);
        if (written < 0) {
            if (errno != EINTR)
                failed = true;
            continue;
        }
        bytes += written;
        size -= size_t(written);
    }
    return !failed;
}

bool AtomicFile::WriteText(const char* text)
{
    return Write(text, std::strlen(text));
}

bool AtomicFile::Commit()
{
    if (descriptor < 0)
        return false;
    if (!failed && (replacedMode & (S_ISUID | S_ISGID)))
        fchmod(descriptor, replacedMode);
    // Devices and pipes cannot be synced; their writes have been checked.
    if (!failed && !inPlace && fsync(descriptor) != 0)
        failed = true;
    if (close(descriptor) != 0)
        failed = true;
    descriptor = -1;
    if (!inPlace) {
        if (!failed && rename(temporaryPath.c_str(), targetPath.c_str()) != 0)
            failed = true;
        if (failed)
            unlink(temporaryPath.c_str());
        else
            SyncFolderOf(targetPath);
    }
    bool written = !failed;
    inPlace = false;
    failed = false;
    replacedMode = 0;
    targetPath.clear();
    temporaryPath.clear();
    return written;
}

void AtomicFile::Abandon()
{
    if (descriptor >= 0) {
        close(descriptor);
        if (!inPlace)
            unlink(temporaryPath.c_str());
    }
    descriptor = -1;
    inPlace = false;
    failed = false;
    replacedMode = 0;
    targetPath.clear();
    temporaryPath.clear();
}
