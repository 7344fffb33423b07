// A capture session end to end: the real window on a simulated walking suit,
// Live, two seconds of Record, Stop, Save As through the file dialog, and the
// file read back with the library.
#include "tests/endtoend/loopback_capture.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/simulator/motion_solve_check.h"
#include "tests/viewer_qt/qt_test_support.h"
#include "tools/simulator/walking_motion.h"
#include "viewer/commands.h"
#include "viewer/engine.h"
#include "viewer/qt/main_window.h"

#include <QEventLoop>
#include <QFileDialog>

#include <chrono>

#include <stdlib.h>

namespace {
constexpr double SuitRate = 100.0;
constexpr double LeadInSeconds = 4.0;

void RunEventLoopFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The walk's poses frame by frame, as the simulator sends them.
std::vector<SkeletonFrame> WalkPoses(WalkingMotion& walk, int count)
{
    std::vector<SkeletonFrame> poses;
    for (int frame = 0; frame < count; frame++)
        poses.push_back(walk.Pose(uint64_t(frame)));
    return poses;
}

TEST(LiveTake, RecordedStoppedSavedAndReadBackWithTheSimulatorsMotion)
{
    ResetViewerForTesting();
    TempFolder config;
    config.Write("varnel.ini", "[Varnel]\nRecordBeep=0\nLookForSuitOnStartup=0\n");
    setenv("XDG_CONFIG_HOME", config.path.c_str(), 1);
    WalkingMotion walk(SuitRate, LeadInFrames(LeadInSeconds, SuitRate));

    ViewerState& state = Viewer();
    {
        MainWindow window(state);
        window.Start();
        Shell& shell = window.ViewerShell();

        // The suit starts after the window, so a slow start-up (a sanitizer
        // build) takes nothing from the lead-in: Live must calibrate on the
        // null pose, before the walk sets off.
        const auto suitStart = std::chrono::steady_clock::now();
        SimulatedSuit suit(walk, LoopbackSuitOptions(SuitRate, LeadInSeconds));
        RunCommand(state, shell, Command::Live);
        ASSERT_EQ(state.Live, 1);
        const auto walkStart = suitStart + std::chrono::milliseconds(int(LeadInSeconds * 1000));
        ASSERT_LT(std::chrono::steady_clock::now(), walkStart)
            << "Live calibrated after the lead-in: the suit already walked";
        // The wearer's measurements are the plain ones the simulator inverts.
        ActorData plain = PlainActor();
        VarnelSetActorData(state.SuitHandle, &plain);
        RunEventLoopFor(int(std::chrono::duration_cast<std::chrono::milliseconds>(
                                walkStart - std::chrono::steady_clock::now())
                                .count()) +
                        500);

        RunCommand(state, shell, Command::Record);
        ASSERT_EQ(state.Recording, 1);
        RunEventLoopFor(2000);
        RunCommand(state, shell, Command::Stop);
        ASSERT_EQ(state.Recording, 0);
        const int recorded = TakeFrameCount(state);
        EXPECT_GT(recorded, int(SuitRate)) << "two seconds at 100 Hz";
        EXPECT_EQ(state.TakeUnsaved, 1);

        TempFolder takes;
        const std::string path = takes.File("walk.bvh");
        WhenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                ADD_FAILURE() << "unexpected window: " << modal->windowTitle().toStdString();
                modal->close(); // the save dialog never comes: the test ends, not hangs
                return;
            }
            dialog->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(dialog)->accept(); // the file dialog's own checks run
        });
        RunCommand(state, shell, Command::SaveAs);
        EXPECT_EQ(state.TakeUnsaved, 0);
        EXPECT_EQ(state.CurrentFile, path);

        OwnedSkeleton read;
        ASSERT_EQ(VarnelReadBVH(path.c_str(), &read.skeleton, 85.0f, 1.5f), 1);
        ASSERT_EQ(read.skeleton.numFrames, recorded);

        // Every frame is one of the walk's, in order and none twice; the
        // channels are quantised by the suit, so within half a degree.
        // A walk of its own: the simulator's is still in use on its thread.
        WalkingMotion reference(SuitRate, LeadInFrames(LeadInSeconds, SuitRate));
        std::vector<SkeletonFrame> poses =
            WalkPoses(reference, int(SuitRate * (2 * LeadInSeconds + 10)));
        int previous = -1;
        for (int i = 0; i < recorded; i++) {
            const SkeletonFrame& frame = read.skeleton.frames[i];
            int best = previous + 1;
            for (int k = best; k < int(poses.size()); k++)
                if (LargestJointDistance(frame, poses[size_t(k)]) <
                    LargestJointDistance(frame, poses[size_t(best)]))
                    best = k;
            ASSERT_LT(LargestJointDistance(frame, poses[size_t(best)]), 0.5f) << "frame " << i;
            previous = best;
        }
        const SkeletonFrame& first = read.skeleton.frames[0];
        const SkeletonFrame& last = read.skeleton.frames[recorded - 1];
        EXPECT_GT(
            std::hypot(last.channels[0] - first.channels[0], last.channels[1] - first.channels[1]),
            10.0f)
            << "the body walked on";
        window.close();
    }
    VarnelFinish();
    ResetViewerForTesting();
}
} // namespace
