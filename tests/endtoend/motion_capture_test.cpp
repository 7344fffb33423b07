#include "loopback_capture.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/simulator/motion_solve_check.h"
#include "tools/simulator/take_motion.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <vector>

namespace {
constexpr double LeadInSeconds = 1.5; // discovery takes one second of it
constexpr int FootNodes[4] = {NodeLeftFootHeel, NodeRightFootHeel, NodeLeftFootBall,
                              NodeRightFootBall};

// A take the suit can send exactly: every frame is a random pose built by
// the suit's own joint model from even counts. A channel never moves by a
// single count, so the library's one-count flicker filter keeps every
// reading as sent. The neck stays straight and the collars alike, as the
// suit ties them, so every joint can be compared.
std::vector<SkeletonFrame> MeasurableTake(int frames)
{
    struct Range {
        int channel, counts; // even counts from rest, within +-counts
    };
    // Middle angles of three-axis joints stay inside +-90 degrees (about
    // 1100 counts), so the take has one way of being read.
    const Range ranges[] = {
        {25, 1800}, {26, 900},  {29, 1800}, {23, 1800}, {24, 900}, {27, 1800}, // hips
        {30, 1800}, {28, 1800},                                                // knees
        {34, 1800}, {35, 900},  {36, 1800}, {31, 1800}, {32, 900}, {33, 1800}, // ankles
        {22, 1800}, {21, 900},  {20, 1800},                                    // chest
        {5, 1800},  {4, 900},                                                  // collars
        {9, 1800},  {8, 900},   {12, 1800}, {7, 1800},  {6, 900},  {10, 1800}, // shoulders
        {13, 1800}, {11, 1800},                                                // elbows
        {17, 1800}, {18, 900},  {19, 1800}, {14, 1800}, {15, 900}, {16, 1800}, // wrists
        {3, 1800},  {2, 900},   {1, 1800},                                     // head
    };
    std::mt19937 random(1207);
    std::vector<SkeletonFrame> take(frames);
    for (int frame = 0; frame < frames; frame++) {
        SuitReadings readings;
        NullPoseReadings(readings);
        for (const Range& range : ranges) {
            int half = range.counts / 2;
            readings.channels[range.channel] =
                uint16_t(RestCount + 2 * std::uniform_int_distribution<int>(-half, half)(random));
        }
        std::uniform_real_distribution<float> turn(-170.0f, 170.0f), tilt(-60.0f, 60.0f);
        readings.orientation[0] = turn(random);
        readings.orientation[1] = tilt(random);
        readings.orientation[2] = turn(random);
        take[frame] = SolveReadings(readings);
        take[frame].channels[0] = 30.0f * std::sin(0.05f * float(frame));
        take[frame].channels[1] = -0.75f * float(frame);
        take[frame].channels[2] = 36.5f;
    }
    return take;
}

std::string WritePlainActor(const TempFolder& folder)
{
    ActorData actor = PlainActor();
    std::string path = folder.File("plain.vnl");
    EXPECT_EQ(VarnelWriteActorData(path.c_str(), &actor, ActorUnitsInches), 1);
    return path;
}

bool IsNullPose(const SkeletonFrame& frame)
{
    for (int channel = 3; channel < VARNEL_NUM_CHANNELS; channel++)
        if (std::fabs(frame.channels[channel]) > 1e-3f)
            return false;
    return true;
}

TEST(MotionCapture, ATakeWithThePositionSensorComesBackJointForJoint)
{
    TempFolder folder;
    std::vector<SkeletonFrame> generated = MeasurableTake(150);
    OwnedSkeleton source;
    ActorData plain = PlainActor();
    VarnelCopyActorToSkeleton(&source.skeleton, &plain);
    VarnelFreeSkeletonFrames(&source.skeleton);
    for (const SkeletonFrame& frame : generated) {
        ASSERT_EQ(VarnelAddFrame(&source.skeleton), 1);
        source.skeleton.frames[source.skeleton.numFrames - 1] = frame;
    }
    source.skeleton.frameTime = 0.01f;
    std::string takePath = folder.File("generated.bvh");
    ASSERT_EQ(VarnelWriteBVH(takePath.c_str(), &source.skeleton), 1);

    // What `varnel simulate --bvh generated.bvh --position-sensor` plays.
    OwnedSkeleton played;
    ASSERT_EQ(VarnelReadBVH(takePath.c_str(), &played.skeleton, 85.0f, 1.5f), 1);
    SimulateOptions suitOptions = LoopbackSuitOptions(100.0, LeadInSeconds);
    suitOptions.positionSensor = true;
    TakeMotion motion(played.skeleton.frames, played.skeleton.numFrames,
                      LeadInFrames(LeadInSeconds, suitOptions.rate), false);
    SimulatedSuit suit(motion, suitOptions);

    // What `varnel record -o recorded.bvh --position-sensor --actor plain.vnl` writes.
    RecordOptions options = ImmediateRecordOptions(folder.File("recorded.bvh"));
    options.actorPath = WritePlainActor(folder);
    options.positionSensor = true;
    CapturedOutput out, errors;
    StopAfterSuit stopper(suit);
    ASSERT_EQ(RunRecord(options, stopper.stop, out.file, errors.file), 0) << errors.Text();
    OwnedSkeleton recorded;
    ASSERT_EQ(VarnelReadBVH(options.outputPath.c_str(), &recorded.skeleton, 85.0f, 1.5f), 1);

    // Frames may be dropped on a busy machine, so each recorded frame is
    // matched with the generated frame closest to it.
    std::set<int> matched;
    int previous = -1;
    for (int i = 0; i < recorded.skeleton.numFrames; i++) {
        const SkeletonFrame& frame = recorded.skeleton.frames[i];
        if (IsNullPose(frame))
            continue;
        int best = 0;
        float bestDistance = 1e9f;
        for (int k = 0; k < int(generated.size()); k++) {
            float distance = LargestJointDistance(frame, generated[k]);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = k;
            }
        }
        ASSERT_LT(bestDistance, 0.1f) << "recorded frame " << i;
        EXPECT_NEAR(frame.channels[0], generated[best].channels[0], 0.05f) << "frame " << i;
        EXPECT_NEAR(frame.channels[1], generated[best].channels[1], 0.05f) << "frame " << i;
        EXPECT_GT(best, previous) << "frames in order, frame " << i;
        previous = best;
        matched.insert(best);
    }
    EXPECT_GE(matched.size(), generated.size() * 9 / 10) << out.Text();
}

// Poses each recorded frame on the take's own skeleton (the recording
// actor's bones) and returns the world position of the point that carried it.
Vector CarryingPoint(Skeleton& take, int frame, int* point)
{
    VarnelApplyFrame(&take, &take.frames[frame], 0, 0);
    uint32_t contacts = take.frames[frame].contacts;
    *point = contacts == ContactLeftFootHeel    ? 0
             : contacts == ContactRightFootHeel ? 1
             : contacts == ContactLeftFootBall  ? 2
                                                : 3;
    return take.nodes[FootNodes[*point]].worldPosition;
}

// Records the built-in walk for a few seconds.
void RecordWalk(const RecordOptions& options, std::vector<std::unique_ptr<SuitTake>>& takes)
{
    WalkingMotion walk(100.0, LeadInFrames(LeadInSeconds, 100.0));
    SimulatedSuit suit(walk, LoopbackSuitOptions(100.0, LeadInSeconds));
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    ASSERT_EQ(RecordTakes(options, stop, takes, out.file, errors.file), 0) << errors.Text();
    ASSERT_EQ(takes.size(), 1u);
    ASSERT_GT(takes[0]->take.numFrames, 250);
}

TEST(MotionCapture, TheFootThatCarriesTheWalkDoesNotSlide)
{
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("walk.bvh"));
    options.actorPath = WritePlainActor(folder);
    options.seconds = 3.0;
    std::vector<std::unique_ptr<SuitTake>> takes;
    RecordWalk(options, takes);
    if (HasFatalFailure())
        return;
    Skeleton& take = takes[0]->take;

    int handOvers = 0;
    int previousPoint;
    Vector previous = CarryingPoint(take, 0, &previousPoint);
    for (int frame = 1; frame < take.numFrames; frame++) {
        int point;
        Vector now = CarryingPoint(take, frame, &point);
        ASSERT_NEAR(now.z, 0.0f, 1e-3f) << "frame " << frame;
        if (point == previousPoint) {
            float slide = std::hypot(now.x - previous.x, now.y - previous.y);
            ASSERT_LT(slide, 0.01f) << "frame " << frame << ", foot point " << point;
        } else {
            handOvers++;
        }
        previous = now;
        previousPoint = point;
    }
    const SkeletonFrame& last = take.frames[take.numFrames - 1];
    EXPECT_GT(std::hypot(last.channels[0], last.channels[1]), 40.0f) << "the body walked on";
    EXPECT_GE(handOvers, 4);
}

TEST(MotionCapture, OnStairsTheCarryingFootStandsOnATread)
{
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("stairs.bvh"));
    options.actorPath = WritePlainActor(folder);
    options.seconds = 3.0;
    // Rising towards -Y, where the walk sets off: treads 3 inches apart
    // from 0 to 12.
    ASSERT_EQ(ParseFloor("0,-0.25,0,0,12,1,4", &options.floor), "");
    options.floorGiven = true;
    std::vector<std::unique_ptr<SuitTake>> takes;
    RecordWalk(options, takes);
    if (HasFatalFailure())
        return;
    Skeleton& take = takes[0]->take;
    VarnelSetFloor(FloorGeometry{});

    std::set<int> treads;
    for (int frame = 0; frame < take.numFrames; frame++) {
        int point;
        float height = CarryingPoint(take, frame, &point).z;
        float tread = std::round(height / 3.0f);
        ASSERT_NEAR(height, tread * 3.0f, 1e-3f) << "frame " << frame;
        treads.insert(int(tread));
    }
    EXPECT_GE(treads.size(), 2u) << "the walk climbed";
}
} // namespace
