#include "tools/cli/take_output.h"

#include "tools/cli/recovery_file.h"
#include "tools/cli/replayable_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
// Whether a file can be created in the folder of path (the BVH writer
// writes a temporary file there and renames it).
bool CanWriteBeside(const std::string& path)
{
    std::string::size_type slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

bool CopyFileTo(const std::string& path, std::FILE* to)
{
    std::ifstream from(path, std::ios::binary);
    char buffer[64 * 1024];
    while (from.read(buffer, sizeof buffer) || from.gcount() > 0)
        if (std::fwrite(buffer, 1, size_t(from.gcount()), to) != size_t(from.gcount()))
            return false;
    return from.eof() && std::fflush(to) == 0;
}

// The library's take in a new folder of its own in the temporary folder (the
// writer renames into it). A folder and file left by nothing else: both go
// with it.
class TemporaryTake {
  public:
    ~TemporaryTake()
    {
        if (folder.empty())
            return;
        unlink(file.c_str());
        rmdir(folder.c_str());
    }
    bool Write(const Skeleton& take, std::FILE* errors)
    {
        folder = TemporaryFolder() + "/varnel-take-XXXXXX";
        if (!mkdtemp(folder.data())) {
            std::fprintf(errors, "varnel record: cannot make a temporary folder in %s (%s)\n",
                         TemporaryFolder().c_str(), std::strerror(errno));
            folder.clear();
            return false;
        }
        file = folder + "/take.bvh";
        return VarnelWriteBVH(file.c_str(), &take) != 0;
    }
    const std::string& Path() const { return file; }

  private:
    std::string folder, file;
};

bool CopyThroughTemporaryFile(const Skeleton& take, std::FILE* takeOut, std::FILE* errors,
                              LengthUnit units)
{
    TemporaryTake written;
    if (!written.Write(take, errors))
        return false;
    if (units != LengthUnit::Inches) {
        std::string problem = ScaleBvhFileTo(written.Path(), written.Path(), takeOut,
                                             LengthFactor(LengthUnit::Inches, units));
        if (!problem.empty())
            std::fprintf(errors, "varnel record: %s\n", problem.c_str());
        return problem.empty();
    }
    if (CopyFileTo(written.Path(), takeOut))
        return true;
    std::fprintf(errors, "varnel record: cannot write the take to standard output (%s)\n",
                 std::strerror(errno));
    return false;
}

// The take in inches in a temporary folder, then scaled into path, which
// holds the whole scaled take or what it held before.
bool WriteScaledTake(const Skeleton& take, const std::string& path, std::FILE* errors,
                     LengthUnit units)
{
    TemporaryTake written;
    if (!written.Write(take, errors))
        return false;
    std::string problem =
        ScaleBvhFile(written.Path(), written.Path(), path, LengthFactor(LengthUnit::Inches, units));
    if (!problem.empty())
        std::fprintf(errors, "varnel record: %s\n", problem.c_str());
    return problem.empty();
}

bool RecoverTake(const Skeleton& take, const std::string& path, std::FILE* errors, LengthUnit units)
{
    std::string recovery = WriteRecoveryFile(take, path);
    if (recovery.empty())
        std::fprintf(errors,
                     "varnel record: cannot write %s, nor a recovery file; the take is lost\n",
                     path.c_str());
    else
        std::fprintf(errors, "varnel record: cannot write %s; the take was written to %s\n",
                     path.c_str(), recovery.c_str());
    // The recovery file is the library's, in inches.
    if (!recovery.empty() && units != LengthUnit::Inches)
        std::fprintf(errors,
                     "varnel record: %s is in inches; 'varnel convert %s -o OUT --units %s' "
                     "converts it\n",
                     recovery.c_str(), recovery.c_str(), LengthUnitName(units));
    return false;
}

// A folder, or a name only a folder can have, never becomes the take's file.
bool IsFolderName(const std::string& path)
{
    std::error_code error;
    return path.ends_with('/') || std::filesystem::is_directory(path, error);
}
} // namespace

std::string OutputPathProblem(const std::string& path)
{
    if (IsStandardOutput(path))
        return access(TemporaryFolder().c_str(), W_OK | X_OK) == 0
                   ? ""
                   : "the temporary folder " + TemporaryFolder() + " is missing or read-only";
    if (IsFolderName(path))
        return "it is a folder";
    if (!CanWriteBeside(path))
        return "its folder is missing or read-only";
    return "";
}

bool SaveTake(const Skeleton& take, const std::string& path, std::FILE* out, std::FILE* errors,
              LengthUnit units)
{
    // A failed write has been reported by the library.
    if (units == LengthUnit::Inches && VarnelWriteBVH(path.c_str(), &take)) {
        std::fprintf(out, "Wrote %s\n", path.c_str());
        return true;
    }
    if (units != LengthUnit::Inches && WriteScaledTake(take, path, errors, units)) {
        std::fprintf(out, "Wrote %s (lengths in %s)\n", path.c_str(), LengthUnitName(units));
        return true;
    }
    return RecoverTake(take, path, errors, units);
}

bool SaveTakeTo(const Skeleton& take, std::FILE* takeOut, std::FILE* out, std::FILE* errors,
                LengthUnit units)
{
    if (CopyThroughTemporaryFile(take, takeOut, errors, units)) {
        std::fprintf(out, "Wrote the take to standard output\n");
        return true;
    }
    // What reached the output may be cut short: the whole take goes to a file.
    return RecoverTake(take, "take.bvh", errors, units);
}
