#include "tools/record/take_output.h"

#include "tools/record/recovery_file.h"

#include <filesystem>
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

// A folder, or a name only a folder can have, never becomes the take's file.
bool IsFolderName(const std::string& path)
{
    std::error_code error;
    return path.ends_with('/') || std::filesystem::is_directory(path, error);
}
} // namespace

std::string OutputPathProblem(const std::string& path)
{
    if (IsFolderName(path))
        return "it is a folder";
    if (!CanWriteBeside(path))
        return "its folder is missing or read-only";
    return "";
}

bool SaveTake(const Skeleton& take, const std::string& path, std::FILE* out, std::FILE* errors)
{
    // A failed write has been reported by the library.
    if (VarnelWriteBVH(path.c_str(), &take)) {
        std::fprintf(out, "Wrote %s\n", path.c_str());
        return true;
    }
    std::string recovery = WriteRecoveryFile(take, path);
    if (recovery.empty())
        std::fprintf(errors,
                     "varnel record: cannot write %s, nor a recovery file; the take is lost\n",
                     path.c_str());
    else
        std::fprintf(errors, "varnel record: cannot write %s; the take was written to %s\n",
                     path.c_str(), recovery.c_str());
    return false;
}
