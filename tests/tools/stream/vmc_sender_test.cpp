#include "tests/tools/stream/vmc_receiver.h"
#include "tools/simulator/walking_motion.h"
#include "tools/stream/vmc_sender.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A loopback port where nothing listens: bound for a moment, then let go.
uint16_t DeadPort()
{
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Each frame, sent and decoded by liblo's server, poses a normalized
// humanoid as our forward kinematics poses our skeleton.
TEST(VmcSender, AReceiverPosesTheHumanoidAsWeDo)
{
    OwnedSkeleton body;
    std::vector<std::pair<std::string, SkeletonFrame>> sent = {
        {"rest", RestFrame(body.skeleton)}, {"arms raised", ArmsRaisedFrame(body.skeleton)}};
    WalkingMotion walk(60.0, 0);
    for (uint64_t f = 60; f < 240; f += 20)
        sent.push_back({"walk frame " + std::to_string(f), walk.Pose(f)});

    VmcReceiver receiver;
    VmcSender sender;
    ASSERT_EQ(sender.Open({{"127.0.0.1", receiver.Port()}}), "");
    sender.Start(body.skeleton, 0);
    for (size_t i = 0; i < sent.size(); i++) {
        // One at a time, so that the queue never drops one.
        sender.Offer(sent[i].second);
        receiver.ReceiveFrames(i + 1, 10.0);
        ASSERT_EQ(receiver.frames.size(), i + 1) << sent[i].first;
    }
    sender.Stop();

    for (size_t i = 0; i < sent.size(); i++) {
        const ReceivedFrame& frame = receiver.frames[i];
        const std::string& what = sent[i].first;
        EXPECT_EQ(frame.bones.size(), size_t(VmcBoneCount)) << what;
        EXPECT_EQ(frame.rootMessages, 1) << what;
        EXPECT_EQ(frame.malformed, 0) << what;
        EXPECT_EQ(frame.ok.size(), 4u) << what;
        EXPECT_GE(frame.time, 0.0f) << what;
        // The root is where a receiver's avatar stands: the origin, unturned.
        EXPECT_NEAR(frame.root.rotation.w, 1.0, 1e-6) << what;
        ExpectSameDirections(body.skeleton, sent[i].second, frame.bones, what);
    }
    EXPECT_EQ(receiver.messagesOutsideBundles, 0);
    EXPECT_EQ(sender.Sent(), sent.size());
    EXPECT_EQ(sender.Failures(), 0u);
}

// A receiver that is not there (loopback answers with "port unreachable")
// costs the one that listens no frame.
TEST(VmcSender, ATargetWhereNothingListensNeitherStallsNorStopsTheOthers)
{
    OwnedSkeleton body;
    VmcReceiver receiver;
    VmcSender sender;
    ASSERT_EQ(sender.Open({{"127.0.0.1", DeadPort()}, {"127.0.0.1", receiver.Port()}}), "");
    sender.Start(body.skeleton, 0);
    const SkeletonFrame rest = RestFrame(body.skeleton);
    constexpr size_t Frames = 50;
    for (size_t i = 0; i < Frames; i++) {
        sender.Offer(rest);
        receiver.ReceiveFrames(i + 1, 10.0);
        ASSERT_EQ(receiver.frames.size(), i + 1);
    }
    sender.Stop();
    EXPECT_EQ(sender.Offered(), Frames);
    EXPECT_EQ(sender.Skipped(), 0u);
}

// Offered faster than it can send, the sender keeps the newest frames and
// counts the rest as skipped; the frame limit ends what it takes.
TEST(VmcSender, AFullQueueDropsTheOldestAndTheLimitEndsTheStream)
{
    OwnedSkeleton body;
    VmcReceiver receiver;
    VmcSender sender;
    ASSERT_EQ(sender.Open({{"127.0.0.1", receiver.Port()}}), "");
    sender.Start(body.skeleton, 1000);
    SkeletonFrame frame = RestFrame(body.skeleton);
    for (int i = 0; i < 1200; i++) {
        // The frame's counter is not sent, but its hips height is.
        frame.channels[HipsPositionChannel] = float(i);
        sender.Offer(frame);
    }
    sender.Stop();
    EXPECT_EQ(sender.Offered(), 1000u);
    EXPECT_TRUE(sender.LimitReached());
    EXPECT_EQ(sender.Sent() + sender.Skipped(), 1000u);
    receiver.ReceiveFrames(size_t(sender.Sent()), 5.0);
    ASSERT_FALSE(receiver.frames.empty());
    // The last frame taken is sent, whatever was skipped before it: x 999
    // inches, to the actor's left, is -X for the receiver.
    EXPECT_NEAR(receiver.frames.back().bones["Hips"].position.x, -999 * 0.0254, 1e-3);
}
} // namespace
