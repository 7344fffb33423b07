// One full paint of Varnview's view (solid body, grid, axes, foot shadows,
// node and contact markers, node names) of the rest pose through PaintView
// into the Qt canvas's off-screen image, at two window sizes, with the
// operator new calls each paint makes.
#include "render/scene.h"
#include "tests/support/counting_new.h"
#include "viewer/displayed_frame.h"
#include "viewer/paint.h"
#include "viewer/qt/qt_canvas.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

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

#include "bench/qt_benchmark_main.h"
