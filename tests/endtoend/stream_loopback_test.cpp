#include "loopback_capture.h"
#include "tests/support/loopback_socket.h"
#include "tests/tools/stream/vmc_receiver.h"
#include "tools/simulator/walking_motion.h"
#include "tools/stream/streamer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <thread>

namespace {
StreamOptions ImmediateStreamOptions(uint16_t receiverPort, uint64_t frames)
{
    StreamOptions options;
    options.targets = {{"127.0.0.1", receiverPort}};
    options.countdownSeconds = 0.0;
    options.stillCheck = false;
    options.frames = frames;
    return options;
}

// The counts of the summary on the last line (after the suit's name, with
// several): frames taken, sent to every target, skipped by the
// sender.
struct StreamSummary {
    unsigned long long streamed = 0, sent = 0, skipped = 0;
    unsigned dropped = 0; // by the library, before solving
};

StreamSummary ReadSummary(const std::string& out)
{
    StreamSummary summary;
    size_t line = out.rfind('\n', out.size() - 2);
    line = line == std::string::npos ? 0 : line + 1;
    if (out[line] == '"')
        line = out.find("\": ", line) + 3;
    std::sscanf(out.c_str() + line,
                "%llu frames streamed in %*f s (%*f frames/s): %llu sent to every target, %llu "
                "skipped by the sender, %u dropped",
                &summary.streamed, &summary.sent, &summary.skipped, &summary.dropped);
    return summary;
}

// The simulated walk, calibrated on its lead-in, reaches a receiver as
// bundles of every humanoid bone.
TEST(StreamLoopback, TheWalkReachesTheReceiverFrameByFrame)
{
    WalkingMotion walk(60.0, LeadInFrames(1.0, 60.0));
    SimulatedSuit suit(walk, LoopbackSuitOptions(60.0, 1.0));
    VmcReceiver receiver;
    StreamOptions options = ImmediateStreamOptions(receiver.Port(), 120);
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    int status = 0;
    std::thread stream([&] { status = RunStream(options, stop, out.file, errors.file); });
    receiver.ReceiveFrames(120, 30.0);
    stream.join();
    EXPECT_EQ(status, 0) << errors.Text();
    StreamSummary summary = ReadSummary(out.Text());
    EXPECT_EQ(summary.streamed, 120u) << out.Text();
    EXPECT_EQ(receiver.frames.size(), size_t(summary.sent)) << out.Text();
    ASSERT_FALSE(receiver.frames.empty());
    for (const ReceivedFrame& frame : receiver.frames) {
        EXPECT_EQ(frame.bones.size(), size_t(VmcBoneCount));
        EXPECT_EQ(frame.malformed, 0);
    }
    // The walk has carried the hips forward (+Z for the receiver).
    EXPECT_NE(receiver.frames.back().bones["Hips"].position.z,
              receiver.frames.front().bones["Hips"].position.z);
}

// Two targets where nothing listens: every frame the suit delivers is still
// taken, at the suit's rate, and the stream ends at its limit as usual.
TEST(StreamLoopback, TargetsWhereNothingListensNeverHoldUpTheStream)
{
    WalkingMotion walk(120.0, 0);
    SimulatedSuit suit(walk, LoopbackSuitOptions(120.0, 0.0));
    StreamOptions options = ImmediateStreamOptions(FreeUdpPort(), 360);
    options.targets.push_back({"127.0.0.1", FreeUdpPort()});
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunStream(options, stop, out.file, errors.file), 0) << errors.Text();
    StreamSummary summary = ReadSummary(out.Text());
    EXPECT_EQ(summary.streamed, 360u) << out.Text();
    EXPECT_EQ(summary.sent + summary.skipped, 360u) << out.Text();
    // A sender that held up the receive thread would make the library drop
    // datagrams by the dozen; a loaded machine may cost a few.
    EXPECT_LT(summary.dropped, 36u) << out.Text();
}

// Two suits at different rates, each calibrated once still, stream side by
// side: the first to the target's port, the second to the next port.
TEST(StreamLoopback, EachSuitStreamsToItsOwnPort)
{
    const double leftRate = 60.0, rightRate = 120.0;
    WalkingMotion leftPose(leftRate, LeadInFrames(60.0, leftRate));
    WalkingMotion rightPose(rightRate, LeadInFrames(60.0, rightRate));
    SimulateOptions leftSuit = LoopbackSuitOptions(leftRate, 60.0);
    leftSuit.name = "Left";
    SimulateOptions rightSuit = LoopbackSuitOptions(rightRate, 60.0);
    rightSuit.name = "Right";
    SimulatedSuit left(leftPose, leftSuit), right(rightPose, rightSuit);
    // Two receivers on neighbouring ports.
    std::unique_ptr<VmcReceiver> first, second;
    for (int attempt = 0; attempt < 20 && !(second && second->Port()); attempt++) {
        first = std::make_unique<VmcReceiver>();
        second = std::make_unique<VmcReceiver>(uint16_t(first->Port() + 1));
    }
    ASSERT_NE(second->Port(), 0);

    StreamOptions options = ImmediateStreamOptions(first->Port(), 0);
    options.frames = 0;
    options.seconds = 1.5;
    options.stillCheck = true;
    options.allSuits = true;
    std::atomic<bool> done{false};
    std::thread firstThread([&] { first->ReceiveUntil(done); });
    std::thread secondThread([&] { second->ReceiveUntil(done); });
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    int status = RunStream(options, stop, out.file, errors.file);
    done = true;
    firstThread.join();
    secondThread.join();

    EXPECT_EQ(status, 0) << errors.Text();
    const std::string said = out.Text();
    // The table's order decides which suit is first.
    bool leftFirst = said.find("\"Left\"") < said.find("\"Right\"");
    VmcReceiver& leftReceiver = leftFirst ? *first : *second;
    VmcReceiver& rightReceiver = leftFirst ? *second : *first;
    EXPECT_NE(said.find("(60 frames/s) to 127.0.0.1:" + std::to_string(leftReceiver.Port()) + "\n"),
              std::string::npos)
        << said;
    size_t rightAt = said.find("\"Right\": ");
    size_t leftAt = said.find("\"Left\": ");
    ASSERT_NE(rightAt, std::string::npos) << said;
    ASSERT_NE(leftAt, std::string::npos) << said;
    StreamSummary leftSummary = ReadSummary(said.substr(0, said.find('\n', leftAt) + 1));
    StreamSummary rightSummary = ReadSummary(said.substr(0, said.find('\n', rightAt) + 1));
    EXPECT_EQ(leftReceiver.frames.size(), size_t(leftSummary.sent)) << said;
    EXPECT_EQ(rightReceiver.frames.size(), size_t(rightSummary.sent)) << said;
    // About 1.5 s of each suit's rate.
    EXPECT_GT(leftSummary.sent, 60u) << said;
    EXPECT_GT(rightSummary.sent, 120u) << said;
    EXPECT_LT(leftSummary.sent, 120u) << said;
}

TEST(StreamLoopback, AReceiverWhoseHostCannotBeResolvedIsNamedBeforeAnySuit)
{
    StreamOptions options = ImmediateStreamOptions(39539, 1);
    options.targets = {{"no-such-host.invalid", 39539}};
    CapturedOutput out, errors;
    std::atomic<bool> stop{false};
    EXPECT_EQ(RunStream(options, stop, out.file, errors.file), 1);
    EXPECT_NE(errors.Text().find("varnel stream: "), std::string::npos) << errors.Text();
    EXPECT_NE(errors.Text().find("no-such-host.invalid"), std::string::npos) << errors.Text();
    EXPECT_EQ(out.Text(), "") << "no suit was looked for";
}
} // namespace
