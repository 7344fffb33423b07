#include "tools/cli/recovery_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {
// More attempts than takes recovered in one second, however unlucky.
constexpr int MaximumAttempts = 100;

std::vector<std::string> CandidateFolders(const std::string& outputPath)
{
    std::string beside = std::filesystem::path(outputPath).parent_path().string();
    const char* temporary = std::getenv("TMPDIR");
    std::vector<std::string> folders;
    for (std::string folder : {beside.empty() ? "." : beside, std::string("."),
                               std::string(temporary && *temporary ? temporary : "/tmp")})
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    return folders;
}

// "take.bvh" -> "take.recovered-20250102-030405"; a name without a stem
// (a folder given as the output) becomes "take".
std::string RecoveryBaseName(const std::string& outputPath)
{
    std::string stem = std::filesystem::path(outputPath).stem().string();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return (stem.empty() ? "take" : stem) + ".recovered-" + stamp;
}

// "folder/name.bvh", then "folder/name-2.bvh" ...
std::string CandidatePath(const std::string& folder, const std::string& baseName, int attempt)
{
    std::string path = folder + "/" + baseName;
    if (attempt > 1)
        path.append("-").append(std::to_string(attempt));
    return path.append(".bvh");
}

// Creates a new empty file in the folder, so that the name is ours before
// the writer renames the take over it; "" when the folder takes no file.
std::string ClaimName(const std::string& folder, const std::string& baseName)
{
    for (int attempt = 1; attempt <= MaximumAttempts; attempt++) {
        std::string path = CandidatePath(folder, baseName, attempt);
        int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file >= 0) {
            close(file);
            return path;
        }
        if (errno != EEXIST)
            return "";
    }
    return "";
}
} // namespace

std::string WriteRecoveryFile(const Skeleton& take, const std::string& outputPath)
{
    const std::string baseName = RecoveryBaseName(outputPath);
    for (const std::string& folder : CandidateFolders(outputPath)) {
        std::string path = ClaimName(folder, baseName);
        if (path.empty())
            continue;
        if (VarnelWriteBVH(path.c_str(), &take))
            return path;
        unlink(path.c_str());
    }
    return "";
}
