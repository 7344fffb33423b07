#include "viewer/file_commands.h"

#include "viewer/commands.h"
#include "viewer/engine.h"
#include "viewer/file_choice.h"
#include "viewer/take_guard.h"
#include "viewer/text_format.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <new>
#include <vector>

namespace {
// The take as it was at one moment. A recording may go on appending, and
// moving the frame array, while the file is written; and the writer reports
// a failure with a box that waits for the user, which must not happen while
// the frame callback (holding the library lock) waits for takeLock. So the
// frames are copied under takeLock and the copy is written without it.
class TakeSnapshot {
  public:
    explicit TakeSnapshot(ViewerState& state)
    {
        // Allocated and touched before the lock, so the callback waits for a
        // copy at most; the headroom covers frames recorded meanwhile.
        frames.resize(size_t(std::max(TakeFrameCount(state), 0)) + Headroom);
        std::lock_guard hold(state.takeLock);
        const Skeleton& take = state.Skeleton;
        size_t count = take.frames ? size_t(std::max(take.numFrames, 0)) : 0;
        frames.resize(count);
        std::copy_n(take.frames, count, frames.begin());
        skeleton = take;
        skeleton.numFrames = int(count);
        skeleton.frames = frames.empty() ? nullptr : frames.data();
    }

    const Skeleton* Take() const { return &skeleton; }
    int FrameCount() const { return skeleton.numFrames; }

  private:
    static constexpr size_t Headroom = 256;
    std::vector<SkeletonFrame> frames;
    Skeleton skeleton;
};

// The reader gives up silently on a file it cannot open.
bool CanRead(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}
} // namespace

bool WriteTake(ViewerState& state, Shell& shell, const std::string& path)
{
    try {
        TakeSnapshot snapshot(state);
        if (!VarnelWriteBVH(path.c_str(), snapshot.Take()))
            return false;
        std::lock_guard hold(state.takeLock);
        // Frames recorded since the copy are not in the file.
        if (state.Skeleton.numFrames == snapshot.FrameCount())
            state.TakeUnsaved = 0;
        return true;
    } catch (const std::bad_alloc&) {
        shell.ShowMessage("Not enough memory for frames", MessageIcon::Exclamation);
        return false;
    }
}

bool SaveTakeAs(ViewerState& state, Shell& shell)
{
    std::string path = shell.ChooseFileToSave(MotionFileDialog(state));
    if (path.empty())
        return false;
    RememberFile(path, state.CurrentFile, state.CurrentFileDir);
    return WriteTake(state, shell, path);
}

void OpenMotionFile(ViewerState& state, Shell& shell)
{
    std::string path = shell.ChooseFileToOpen(MotionFileDialog(state));
    if (path.empty())
        return;
    if (!CanRead(path)) {
        RememberFile(path, state.CurrentFile, state.CurrentFileDir);
        shell.ShowMessage(FormatText("Can't open file %s", path.c_str()), MessageIcon::Exclamation);
        return;
    }
    // Stopped before the question, so the take asked about is whole; and
    // neither the frame callback nor the playback timer touches the take
    // once the reader replaces it.
    RunCommand(state, shell, Command::Stop);
    if (!MayReplaceTake(state, shell))
        return;
    // Only now: saving the old take remembers the file it went to.
    RememberFile(path, state.CurrentFile, state.CurrentFileDir);
    VarnelReadBVH(path.c_str(), &state.Skeleton, state.AnkleHeelBallAngle,
                  state.BallToHeel_AnkleToHeel_Ratio);
    state.TakeUnsaved = 0;
    shell.Repaint();
}

bool SaveTakeForRecovery(ViewerState& state, Shell& shell, const std::string& folder)
{
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string stem = folder + (folder.ends_with('/') ? "" : "/") + "take-recovered-" + stamp;
    std::string path = stem + ".bvh";
    std::error_code error;
    for (int copy = 2; std::filesystem::exists(std::filesystem::symlink_status(path, error));
         copy++)
        path = stem + "-" + std::to_string(copy) + ".bvh";
    if (!WriteTake(state, shell, path))
        return false;
    RememberFile(path, state.CurrentFile, state.CurrentFileDir);
    return true;
}
