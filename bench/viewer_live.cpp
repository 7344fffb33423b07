// Varnview live: the real window (Qt's offscreen platform) at 1920 x 1080,
// a loopback suit at 120 Hz, Live and a ten-second recording. Reports the
// display rate pane 2 shows (median of its texts), paints per second, the
// share of the suit's frames that were painted, and whether the take holds
// every frame the library delivered.
// Binds UDP port 8000: run under flock /tmp/varnel-udp8000.lock.
#include "bench/counting_suit.h"
#include "tests/support/temp_folder.h"
#include "viewer/commands.h"
#include "viewer/engine.h"
#include "viewer/qt/main_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include <stdlib.h>

namespace {
constexpr double SuitRate = 120.0;
constexpr int RecordMilliseconds = 10000;

// Counts the view's paints; with a delay, makes each one that much slower,
// as a slow graphics driver would.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(int delayMilliseconds) : delay(delayMilliseconds) {}
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            paints++;
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    int delay;
};

void RunEventLoopFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The rates pane 2 shows, read four times a second while the loop runs.
class PaneSampler {
  public:
    explicit PaneSampler(QLabel* pane)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, pane] {
            float rate;
            if (std::sscanf(pane->text().toLatin1().constData(), "Display: %f", &rate) == 1)
                rates.push_back(rate);
        });
        timer.start(250);
    }
    double Median()
    {
        if (rates.empty())
            return 0.0;
        std::sort(rates.begin(), rates.end());
        return rates[rates.size() / 2];
    }

  private:
    QTimer timer;
    std::vector<float> rates;
};

// Frames missing from the take: gaps in the counters the suit numbered.
long GapsInTake(ViewerState& state)
{
    std::lock_guard hold(state.takeLock);
    const Skeleton& take = state.Skeleton;
    long gaps = 0;
    for (int i = 1; i < take.numFrames; i++)
        gaps += take.frames[i].counter - take.frames[i - 1].counter - 1;
    return gaps;
}

void LiveDisplay(benchmark::State& benchmarkState)
{
    TempFolder config;
    config.Write("varnel.ini", "[Varnel]\nRecordBeep=0\nLookForSuitOnStartup=1\n");
    setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);

    CountingSuit suit("Walker", size_t(SuitRate * 60));
    suit.Start(SuitRate, std::chrono::nanoseconds(0));

    ResetViewerForTesting(); // each run starts as a fresh program
    ViewerState& state = Viewer();
    MainWindow window(state);
    window.Start();
    QSize frame = window.size() - window.View()->size();
    window.resize(QSize(1920, 1080) + frame);
    PaintCounter counter(int(benchmarkState.range(0)));
    window.View()->installEventFilter(&counter);

    for (auto _ : benchmarkState) {
        RunCommand(state, window.ViewerShell(), Command::Live);
        RunEventLoopFor(500);
        int paintsBefore = counter.paints;
        RunCommand(state, window.ViewerShell(), Command::Record);
        PaneSampler pane(window.StatusPaneLabel(StatusPane::DisplayRate));
        RunEventLoopFor(RecordMilliseconds);
        RunCommand(state, window.ViewerShell(), Command::Stop);
        int paints = counter.paints - paintsBefore;
        int recorded = TakeFrameCount(state);
        benchmarkState.SetIterationTime(RecordMilliseconds / 1000.0);
        benchmarkState.counters["view width"] = window.View()->width();
        benchmarkState.counters["view height"] = window.View()->height();
        benchmarkState.counters["frames recorded"] = recorded;
        // The library coalesces a suit's datagrams when its receive thread
        // falls behind and counts them; the rest of a gap would be the viewer's.
        long gaps = GapsInTake(state);
        long dropped = long(VarnelGetDropped(state.SuitHandle));
        benchmarkState.counters["dropped by library"] = double(dropped);
        benchmarkState.counters["lost by viewer"] = double(gaps - dropped);
        benchmarkState.counters["paints per s"] = paints * 1000.0 / RecordMilliseconds;
        benchmarkState.counters["share shown"] = recorded ? double(paints) / recorded : 0.0;
        benchmarkState.counters["pane 2 median FPS"] = pane.Median();
    }
    state.TakeUnsaved = 0; // nothing to ask at the close
    window.close();
    suit.Stop();
}
// The argument: milliseconds added to each paint.
BENCHMARK(LiveDisplay)
    ->ArgName("slow_paint_ms")
    ->Arg(0)
    ->Arg(40)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
} // namespace

#include "bench/qt_benchmark_main.h"
