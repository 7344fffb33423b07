#include "tools/cli/replayable_file.h"

#include "common/text_limits.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string TemporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

namespace {
// An unnamed file where the folder's file system has them, else a named one
// removed at once: either way it is gone when closed.
int OpenTemporaryFile(const std::string& folder)
{
    int file = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (file >= 0 || errno != EOPNOTSUPP)
        return file;
    std::string name = folder + "/varnel-input-XXXXXX";
    file = mkostemp(name.data(), O_CLOEXEC);
    if (file >= 0)
        unlink(name.c_str());
    return file;
}

bool WriteAll(int to, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t written = write(to, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

// The length of the line being copied, across reads.
class LineLengthWatch {
  public:
    // False once a line of the text so far runs past MaxLineLength bytes.
    bool Add(const char* data, size_t size)
    {
        const char* end = data + size;
        for (const char* at = data;;) {
            auto* feed = static_cast<const char*>(std::memchr(at, '\n', size_t(end - at)));
            lineLength += size_t((feed ? feed : end) - at);
            if (lineLength > MaxLineLength)
                return false;
            if (!feed)
                return true;
            lineLength = 0;
            at = feed + 1;
        }
    }

  private:
    size_t lineLength = 0;
};
} // namespace

std::string NamedFile::Named(std::string text) const
{
    if (path == name)
        return text;
    for (size_t at = 0; (at = text.find(path, at)) != std::string::npos; at += name.size())
        text.replace(at, path.size(), name);
    return text;
}

ReplayableFile::~ReplayableFile()
{
    if (copy >= 0)
        close(copy);
}

bool ReplayableFile::Open(const std::string& path, std::ostream& errors)
{
    switch (UseOrCopy(path)) {
    case Copy::Complete: return true;
    case Copy::Unreadable: errors << "Can't open file " << path << "\n"; break;
    case Copy::TooLarge:
        errors << "Can't read file " << path << ": more than " << (limit >> 20)
               << " MiB from a pipe or device\n";
        break;
    case Copy::NotWritten:
        errors << "Can't read file " << path << ": cannot copy it to " << TemporaryFolder() << " ("
               << std::strerror(copyError) << ")\n";
        break;
    }
    return false;
}

ReplayableFile::Copy ReplayableFile::UseOrCopy(const std::string& path)
{
    int input = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0)
        return Copy::Unreadable;
    struct stat status;
    bool known = fstat(input, &status) == 0;
    Copy result = Copy::Unreadable;
    if (known && S_ISREG(status.st_mode)) {
        file = NamedFile(path);
        result = Copy::Complete;
    } else if (known && !S_ISDIR(status.st_mode)) {
        result = CopyToTemporaryFile(input);
        // Opening the copy's /proc name starts a reader at its first byte.
        file = NamedFile("/proc/self/fd/" + std::to_string(copy), path);
    }
    close(input);
    return result;
}

// Copies until the input ends or a line runs past MaxLineLength bytes.
ReplayableFile::Copy ReplayableFile::CopyToTemporaryFile(int input)
{
    copy = OpenTemporaryFile(TemporaryFolder());
    if (copy < 0) {
        copyError = errno;
        return Copy::NotWritten;
    }
    char buffer[64 * 1024];
    size_t copied = 0;
    LineLengthWatch line;
    for (;;) {
        ssize_t count = read(input, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return count == 0 ? Copy::Complete : Copy::Unreadable;
        copied += size_t(count);
        if (copied > limit)
            return Copy::TooLarge;
        if (!WriteAll(copy, buffer, size_t(count))) {
            copyError = errno;
            return Copy::NotWritten;
        }
        if (!line.Add(buffer, size_t(count)))
            return Copy::Complete;
    }
}
