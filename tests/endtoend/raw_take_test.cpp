#include "loopback_capture.h"
#include "tests/support/temp_folder.h"
#include "tools/cli/raw_take.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
} // namespace
