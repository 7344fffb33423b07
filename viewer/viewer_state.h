// Everything Varnview knows, in one record: the settings kept in varnel.ini,
// the run-time state of the engine and the camera. One instance per process,
// because the library's callbacks and the playback timer reach it without a
// window. Fields shared with those threads are single atomic words; the
// take's frame array and the live frame have locks of their own.
#pragma once

#include "render/camera.h"
#include "varnel.h"
#include "viewer/playback_timer.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class Shell;

// The longest text setting, as the settings file holds it.
constexpr size_t MaxTextSettingLength = 259;

// Persisted in varnel.ini, section "Varnel"; a field's name is its key.
// Integer settings are atomic: the frame callback and the playback tick read
// some of them while the user toggles them.
struct ViewerSettings {
    std::atomic<int> ShowAxes{1};
    std::atomic<int> ShowGrid{1};
    std::atomic<int> ReportFrameRate{0};
    std::atomic<int> ShowFootShadow{1};
    std::atomic<int> FollowCharacter{0};
    std::atomic<int> ShowContactPoints{1};
    std::atomic<int> ShowNodeNames{0};
    std::atomic<int> ShowNodes{0};
    std::atomic<int> Loop{1};
    std::atomic<int> RenderType{2};
    float AnkleHeelBallAngle = VARNEL_DEFAULT_ANKLE_HEEL_BALL_ANGLE;
    float BallToHeel_AnkleToHeel_Ratio = VARNEL_DEFAULT_BALL_TO_HEEL_RATIO;
    FloorGeometry Floor = {}; // keys "Floor.dzdx" ... "Floor.NumSteps"
    std::atomic<int> RecordLimitFS{5};
    std::atomic<int> RecordFramesOrSeconds{0};
    std::atomic<int> RecordStop{0};
    std::atomic<int> RecordBeep{1};
    std::atomic<int> RecordDelayEnable{0};
    std::atomic<int> RecordDelay{3};
    std::atomic<int> UsePositionSensor{0};
    std::atomic<int> Autoload{1};
    std::atomic<int> IgnoreLowerBody{0};
    std::atomic<int> LookForSuitOnStartup{1};
    std::string CurrentFile;         // last BVH file opened or saved
    std::string CurrentFileDir;      // its folder, without the trailing separator
    std::string CurrentActorFile;    // last actor file loaded or stored
    std::string CurrentActorFileDir; // its folder
};

struct ViewerState : ViewerSettings {
    // The window's services; set at start-up before a suit is opened.
    Shell* MainFrame = nullptr;
    std::atomic<VarnelHandle> SuitHandle{nullptr};

    // The one skeleton: node table, frame time and the take's frames. The
    // frame callback appends under takeLock; whoever reads the frame array
    // while a recording may run takes it too, and calls no function that
    // takes the library lock while holding it (the callback holds that lock
    // when it takes takeLock). The type is qualified: the field's name would
    // otherwise hide it inside the class.
    ::Skeleton Skeleton = {};
    std::mutex takeLock;

    // The latest pose from the frame callback; copied in and out under
    // liveFrameLock, so a paint never reads half a frame.
    SkeletonFrame LiveFrame = {};
    std::mutex liveFrameLock;

    uint32_t DisplayedContacts = 0;
    std::atomic<int> Live{0};
    std::atomic<int> Playing{0};
    std::atomic<int> Paused{0};
    std::atomic<int> Recording{0};
    std::atomic<int> PlaybackFrame{0};
    std::atomic<int> ForceAngleChannelsZero{0};
    std::atomic<int> ForcePositionChannelsZero{0};
    std::atomic<int> RepaintPending{0};
    std::atomic<int> TimeoutPromptOpen{0};
    // Set when a recording stores its first frame, cleared when the take is
    // written to a file or replaced.
    std::atomic<int> TakeUnsaved{0};
    uint32_t RecordStartTime = 0; // milliseconds
    uint32_t LastPaintTime = 0;   // milliseconds; 0 before the first paint

    Camera camera;

    // The engine's own: the playback timer (running while playback steps;
    // stopped before the take it steps through changes) and whether this
    // take's out-of-memory message has been posted.
    PlaybackTimer playbackTimer;
    std::atomic<int> OutOfMemoryReported{0};
};

// The process's one viewer state.
ViewerState& Viewer();

// A fresh state with the built-in defaults, for tests; the take's frames are
// released. Only while no library callback can run (before VarnelInit or
// after VarnelFinish).
void ResetViewerForTesting();
