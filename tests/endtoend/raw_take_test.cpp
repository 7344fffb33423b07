#include "loopback_capture.h"
#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/run_varnel.h"
#include "tools/cli/raw_take.h"
#include "tools/simulator/walking_motion.h"
#include "tools/solve/raw_solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
using namespace std::chrono_literals;

uintmax_t SizeOf(const std::string& path)
{
    std::error_code ignored;
    uintmax_t size = std::filesystem::file_size(path, ignored);
    return ignored ? 0 : size;
}

TEST(RawTakeLoopback, ATakeCutByKillKeepsEveryRecordUpToItsLastFlush)
{
    TempFolder folder;
    const std::string raw = folder.File("take.vraw");
    // The recorder runs in a child forked before this process starts a
    // thread; it has the test's suit port already.
    pid_t recorder = fork();
    ASSERT_GE(recorder, 0);
    if (recorder == 0) {
        RecordOptions options = ImmediateRecordOptions("");
        options.rawPath = raw;
        std::FILE* sink = std::fopen("/dev/null", "w");
        std::atomic<bool> never{false};
        _exit(RunRecord(options, never, sink, sink));
    }
    WalkingMotion walk(100.0, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(100.0, 0.0));
    // Until a good part of the take is on disk, then a little more.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (SizeOf(raw) < RawTakeHeaderSize + 100 * RawRecordSize &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    uintmax_t flushed = SizeOf(raw);
    std::this_thread::sleep_for(300ms);
    kill(recorder, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(recorder, &status, 0), recorder);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(flushed, RawTakeHeaderSize + 100 * RawRecordSize) << "the recorder wrote too little";

    RawTake take;
    ASSERT_EQ(ReadRawTake(raw, &take), "");
    EXPECT_STREQ(take.header.suitName, "Simulated suit");
    EXPECT_EQ(take.header.nominalRate, 100.0f);
    EXPECT_GE(take.records.size(), (flushed - RawTakeHeaderSize) / RawRecordSize);
    EXPECT_EQ(take.ignoredBytes, 0u);
    // Every datagram the suit sent since the first one kept, in order.
    uint32_t first = 0;
    DecodeSuitReadings(take.records[0].datagram.data() + PacketRawOffset, &first);
    bool calibrated = false;
    for (size_t i = 0; i < take.records.size(); i++) {
        uint32_t counter = 0;
        DecodeSuitReadings(take.records[i].datagram.data() + PacketRawOffset, &counter);
        ASSERT_EQ(counter, first + i) << "record " << i;
        if (i > 0) {
            ASSERT_GE(take.records[i].time, take.records[i - 1].time);
        }
        calibrated = calibrated || (take.records[i].flags & RawCalibratedBefore) ||
                     (take.records[i].flags & RawCalibratedAfter);
    }
    EXPECT_TRUE(calibrated);
    EXPECT_NE(take.header.calibrationAt, RawNoCalibration);
}

// A walking take recorded live to BVH and raw at once.
void RecordBoth(const RecordOptions& options)
{
    WalkingMotion walk(120.0, 0);
    SimulateOptions suitOptions = LoopbackSuitOptions(120.0, 0.5);
    suitOptions.seconds = 3.0;
    SimulatedSuit suit(walk, suitOptions);
    StopAfterSuit stopper(suit);
    CapturedOutput out, errors;
    ASSERT_EQ(RunRecord(options, stopper.stop, out.file, errors.file), 0) << errors.Text();
}

// A raw take alone, recorded as RecordBoth records, read back into *raw.
void RecordRawOnly(const std::string& path, RawTake* raw)
{
    RecordOptions options = ImmediateRecordOptions("");
    options.rawPath = path;
    RecordBoth(options);
    ASSERT_EQ(ReadRawTake(path, raw), "");
}

TEST(RawTakeLoopback, SolvedAgainWithTheRecordedSettingsTheTakeIsTheLiveOneByteForByte)
{
    TempFolder folder;
    RecordOptions options = ImmediateRecordOptions(folder.File("live.bvh"));
    options.rawPath = folder.File("take.vraw");
    options.floor = FloorGeometry{0.02f, 0.0f, -1.0f, -5.0f, 5.0f, 0, 0};
    options.floorGiven = true;
    options.units = LengthUnit::Centimeters;
    RecordBoth(options);
    VarnelSetFloor(FloorGeometry{});

    Printed solved =
        RunVarnel({"solve", options.rawPath, "-o", folder.File("again.bvh"), "--units", "cm"});
    ASSERT_EQ(solved.status, 0) << solved.errors;
    std::string live = ReadWholeFile(options.outputPath);
    ASSERT_GT(live.size(), 1000u);
    EXPECT_TRUE(live == ReadWholeFile(folder.File("again.bvh")));
}

TEST(RawTakeLoopback, AnotherActorGivesItsBonesAndItsPoseOfTheSameDatagrams)
{
    TempFolder folder;
    ActorData tall;
    VarnelGetActorData(nullptr, &tall);
    for (float& bone : tall.bones)
        bone *= 1.2f;
    const std::string tallPath = folder.File("tall.vnl");
    ASSERT_EQ(VarnelWriteActorData(tallPath.c_str(), &tall, ActorUnitsInches), 1);
    const std::string usualPath = folder.File("usual.vnl");
    ActorData usual;
    VarnelGetActorData(nullptr, &usual);
    ASSERT_EQ(VarnelWriteActorData(usualPath.c_str(), &usual, ActorUnitsInches), 1);

    RecordOptions options = ImmediateRecordOptions(folder.File("live.bvh"));
    options.rawPath = folder.File("take.vraw");
    RecordBoth(options);

    const std::string tallTake = folder.File("tall.bvh");
    const std::string usualTake = folder.File("usual.bvh");
    ASSERT_EQ(RunVarnel({"solve", options.rawPath, "-o", tallTake, "--actor", tallPath}).status, 0);
    ASSERT_EQ(RunVarnel({"solve", options.rawPath, "-o", usualTake, "--actor", usualPath}).status,
              0);
    // The recorded actor given as a file changes nothing.
    EXPECT_TRUE(ReadWholeFile(usualTake) == ReadWholeFile(options.outputPath));

    OwnedSkeleton live, again, expected;
    ASSERT_EQ(VarnelReadBVH(options.outputPath.c_str(), live.get(), 85.0f, 1.5f), 1);
    ASSERT_EQ(VarnelReadBVH(tallTake.c_str(), again.get(), 85.0f, 1.5f), 1);
    VarnelCopyActorToSkeleton(expected.get(), &tall);
    ASSERT_EQ(again->numFrames, live->numFrames);
    EXPECT_NEAR(again->nodes[NodeLeftKnee].offset.z, expected->nodes[NodeLeftKnee].offset.z, 1e-3f);
    EXPECT_GT(std::fabs(again->nodes[NodeLeftKnee].offset.z - live->nodes[NodeLeftKnee].offset.z),
              0.5f);
    // Longer legs carry the hips higher over the same floor.
    int last = live->numFrames - 1;
    EXPECT_GT(again->frames[last].channels[2], live->frames[last].channels[2] + 1.0f);
}

uint32_t CounterOf(const RawRecord& record)
{
    uint32_t counter = 0;
    DecodeSuitReadings(record.datagram.data() + PacketRawOffset, &counter);
    return counter;
}

TEST(RawTakeLoopback, ARawTakeReplayedIsRecordedAgainDatagramForDatagram)
{
    TempFolder folder;
    const std::string firstPath = folder.File("first.vraw");
    RawTake original;
    ASSERT_NO_FATAL_FAILURE(RecordRawOnly(firstPath, &original));

    RecordOptions second = ImmediateRecordOptions(folder.File("replayed.bvh"));
    second.rawPath = folder.File("replayed.vraw");
    std::atomic<bool> replayed{false};
    Printed replay;
    std::thread sender([&] {
        replay = RunVarnel(
            {"simulate", "--raw", firstPath, "--to", "127.0.0.1:" + std::to_string(SuitPort())});
        std::this_thread::sleep_for(200ms);
        replayed.store(true);
    });
    CapturedOutput out, errors;
    int status = RunRecord(second, replayed, out.file, errors.file);
    sender.join();
    ASSERT_EQ(replay.status, 0) << replay.errors;
    ASSERT_EQ(status, 0) << errors.Text();

    RawTake again;
    ASSERT_EQ(ReadRawTake(second.rawPath, &again), "");
    // Discovery hears the first second unrecorded; the rest comes as sent.
    ASSERT_GT(again.records.size(), 100u);
    uint32_t base = CounterOf(original.records[0]);
    for (size_t i = 0; i < again.records.size(); i++) {
        size_t at = CounterOf(again.records[i]) - base;
        ASSERT_LT(at, original.records.size());
        ASSERT_EQ(again.records[i].datagram, original.records[at].datagram) << "record " << i;
        if (i > 0) {
            ASSERT_EQ(CounterOf(again.records[i]), CounterOf(again.records[i - 1]) + 1);
        }
    }
}

// The record calibrated on at an instant, and the kept frames from it on.
struct FromInstant {
    size_t calibration = 0;
    size_t kept = 0;
    size_t firstKept = 0;
};

FromInstant KeptFrom(const RawTake& raw, int64_t at)
{
    FromInstant from;
    while (from.calibration + 1 < raw.records.size() &&
           raw.records[from.calibration + 1].time <= at)
        from.calibration++;
    from.firstKept = raw.records.size();
    for (size_t i = from.calibration; i < raw.records.size(); i++)
        if (raw.records[i].flags & RawKept) {
            from.kept++;
            from.firstKept = std::min(from.firstKept, i);
        }
    return from;
}

TEST(RawTakeLoopback, CalibratedAtAnotherInstantTheTakeStartsThere)
{
    TempFolder folder;
    RawTake raw;
    ASSERT_NO_FATAL_FAILURE(RecordRawOnly(folder.File("take.vraw"), &raw));
    const int64_t recorded = raw.header.calibrationAt;
    ASSERT_NE(recorded, RawNoCalibration);

    const std::optional<int64_t> instants[] = {std::nullopt, recorded, recorded + 1000000000};
    for (const std::optional<int64_t>& at : instants) {
        SCOPED_TRACE(at ? std::to_string(*at) + " ns" : "where the take calibrated");
        FromInstant from = KeptFrom(raw, at.value_or(recorded));
        ASSERT_GT(from.kept, 10u);
        RawSolveSettings settings;
        settings.calibrateAt = at;
        OwnedSkeleton take;
        ASSERT_EQ(SolveRawTake(raw, settings, take.skeleton), "");
        EXPECT_EQ(size_t(take->numFrames), from.kept);
        // Counters run from the calibration's datagram.
        EXPECT_EQ(uint32_t(take->frames[0].counter), CounterOf(raw.records[from.firstKept]) -
                                                         CounterOf(raw.records[from.calibration]));
    }
}
} // namespace
