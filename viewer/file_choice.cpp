#include "viewer/file_choice.h"

#include <filesystem>

namespace {
std::string FileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}
} // namespace

Shell::FileDialog MotionFileDialog(const ViewerState& state)
{
    return {"BVH file (*.bvh)", "bvh", state.CurrentFileDir, FileName(state.CurrentFile)};
}

Shell::FileDialog ActorFileDialog(const ViewerState& state)
{
    return {"Actor Measurement file (*.vnl)", "", state.CurrentActorFileDir,
            FileName(state.CurrentActorFile)};
}

void RememberFile(const std::string& chosen, std::string& file, std::string& folder)
{
    file = chosen;
    folder = std::filesystem::path(chosen).parent_path().string();
}
