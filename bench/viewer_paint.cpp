// One full paint of Varnview's view (solid body, grid, axes, foot shadows,
// node and contact markers, node names) of the rest pose through PaintView
// into the Qt canvas's off-screen image, at two window sizes, with the
// operator new calls each paint makes.
#include "render/scene.h"
#include "viewer/displayed_frame.h"
#include "viewer/paint.h"
#include "viewer/qt/qt_canvas.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};

// The window's services a paint uses, doing nothing: the status panes are
// the window's cost, not the paint's.
class QuietShell : public Shell {
  public:
    ViewSize size;
    void SetStatusText(StatusPane, std::string_view) override {}
    MessageAnswer ShowMessage(const std::string&, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
    void SetMenuCheck(Command, bool) override {}
    ViewSize CurrentViewSize() override { return size; }
    void Repaint() override {}
    void PostClose() override {}
    NoSuitsAnswer AskNoSuitsDetected(int*) override { return NoSuitsAnswer::Ignore; }
    void ShowAbout(const std::string&) override {}
    void RequestRepaint() override {}
    void PostCommand(Command) override {}
    void PostTimeoutPrompt(VarnelHandle) override {}
    void PostMessageBox(const std::string&, MessageIcon) override {}

    // Files: every dialog cancelled, every question answered Cancel.
    std::string ChooseFileToOpen(const FileDialog&) override { return ""; }
    std::string ChooseFileToSave(const FileDialog&) override { return ""; }
    SaveTakeAnswer AskSaveTake() override { return SaveTakeAnswer::Cancel; }

    void Wait(int) override {}
    void Beep(int, int) override {}

    // The option dialogs: cancelled.
    bool RunInputOptions(InputOptionsForm&) override { return false; }
    bool RunBvhFileOptions(BvhFileOptionsForm&) override { return false; }
    bool RunFloorGeometry(FloorForm&) override { return false; }
};

void FullPaint(benchmark::State& run)
{
    ViewerState& state = Viewer();
    VarnelInitSkeleton(&state.Skeleton);
    state.Skeleton.frames[0].contacts = ContactLeftFootHeel | ContactRightFootHeel;
    state.ShowNodes = state.ShowNodeNames = state.ShowContactPoints = 1;
    state.ShowGrid = state.ShowAxes = state.ShowFootShadow = 1;
    state.RenderType = RenderSolid;
    VarnelSetFloor(state.Floor);
    QuietShell shell;
    shell.size = {int(run.range(0)), int(run.range(1))};
    CenterView(state, shell);

    QtCanvas canvas;
    QSize size(shell.size.width, shell.size.height);
    uint32_t now = 1000;
    auto paint = [&] {
        canvas.Fit(size);
        PaintView(state, shell, canvas, shell.size, now += 16);
    };
    paint(); // the first paint makes the image and loads the glyphs
    long before = allocations;
    for (auto _ : run) {
        paint();
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    run.counters["new per paint"] =
        double(allocations - before) / double(std::max<int64_t>(run.iterations(), 1));
    VarnelFreeSkeletonFrames(&state.Skeleton);
}
BENCHMARK(FullPaint)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
} // namespace

// g++ pairs an inlined delete with this file's new and, not seeing that
// both replace the global pair, warns of a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size)
{
    allocations++;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

int main(int argc, char** argv)
{
    // No display: Qt draws into memory all the same.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
