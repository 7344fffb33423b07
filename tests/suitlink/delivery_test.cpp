#include "delivery_test_support.h"

#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <stdexcept>

namespace {
class DeliveryTest : public DeliveryFixture {
  protected:
    TestSuit first, second;
};

TEST_F(DeliveryTest, BurstBetweenPassesIsOneCallbackAndTheRestDropped)
{
    VarnelHandle suit = FindAndOpen({&first}, {RecordFrame})[0];
    first.Send(FramePacket("Suit", 100));
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    EXPECT_EQ(FrameRecorder::At(0).pose.counter, 0);
    {
        // Holding the lock stops the receive thread at its first store, so all
        // three are stored before the next processing pass.
        std::lock_guard hold(library.LibraryLock);
        for (uint32_t counter = 101; counter <= 103; counter++)
            first.Send(FramePacket("Suit", counter, 40 * int(counter - 100)));
    }
    ASSERT_TRUE(FrameRecorder::WaitForCount(2));
    LetReceiverRun();
    EXPECT_EQ(FrameRecorder::Count(), 2);
    EXPECT_EQ(FrameRecorder::At(1).suit, suit);
    EXPECT_EQ(FrameRecorder::At(1).pose.counter, 3);
    EXPECT_EQ(VarnelGetDropped(suit), 2u);
}

TEST_F(DeliveryTest, SuitWithoutCallbackIsSolvedButNeverCalledBack)
{
    std::vector<VarnelHandle> suits = FindAndOpen({&first, &second}, {nullptr, RecordFrame});
    {
        std::lock_guard hold(library.LibraryLock);
        for (uint32_t counter = 10; counter < 13; counter++)
            first.Send(FramePacket("Suit", counter));
        second.Send(FramePacket("Suit", 50));
    }
    // The second suit's frame comes from the same pass as the first suit's.
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    LetReceiverRun();
    EXPECT_EQ(FrameRecorder::Count(), 1);
    EXPECT_EQ(FrameRecorder::At(0).suit, suits[1]);
    EXPECT_EQ(suits[0]->nullSet.load(), 1);
    EXPECT_EQ(VarnelGetDropped(suits[0]), 2u);
}

TEST_F(DeliveryTest, SuitsSolvedInOnePassEachSeeTheirOwnFrame)
{
    std::vector<VarnelHandle> suits = FindAndOpen({&first, &second}, {RecordFrame, RecordFrame});
    first.Send(FramePacket("Suit", 100));
    second.Send(FramePacket("Suit", 500));
    ASSERT_TRUE(FrameRecorder::WaitForCount(2));
    for (int round = 1; round <= 3; round++) {
        {
            std::lock_guard hold(library.LibraryLock);
            first.Send(FramePacket("Suit", 100 + round));
            second.Send(FramePacket("Suit", 500 + 10 * round, 100 * round));
        }
        ASSERT_TRUE(FrameRecorder::WaitForCount(2 + 2 * round));
    }
    for (int i = 2; i < FrameRecorder::Count(); i++) {
        DeliveredFrame delivered = FrameRecorder::At(i);
        int round = i / 2;
        if (delivered.suit == suits[0]) {
            EXPECT_EQ(delivered.pose.counter, round);
            EXPECT_TRUE(AllRotationsZero(delivered.pose));
        } else {
            ASSERT_EQ(delivered.suit, suits[1]);
            EXPECT_EQ(delivered.pose.counter, 10 * round);
            EXPECT_FALSE(AllRotationsZero(delivered.pose));
        }
    }
    // A suit's last frame is what a read of it solves again.
    int last = FrameRecorder::Count() - 1;
    if (FrameRecorder::At(last).suit != suits[1])
        last--;
    SkeletonFrame read;
    ASSERT_EQ(VarnelRead(suits[1], &read), 1);
    EXPECT_TRUE(SameFrame(read, FrameRecorder::At(last).pose));
}

TEST_F(DeliveryTest, ReadNeedsDataButNotAnOpenSuit)
{
    SkeletonFrame pose{};
    EXPECT_EQ(VarnelRead(nullptr, &pose), 0);
    VarnelHandle suit = FindAndOpen({&first}, {RecordFrame})[0];
    EXPECT_EQ(VarnelRead(suit, &pose), 0);

    first.Send(FramePacket("Suit", 100));
    first.Send(FramePacket("Suit", 105, 60));
    ASSERT_TRUE(WaitUntil([&] { return VarnelRead(suit, &pose) == 1 && pose.counter == 5; }));
    EXPECT_EQ(VarnelRead(suit, nullptr), 0);

    VarnelClose(suit);
    first.Send(FramePacket("Suit", 106, 80));
    LetReceiverRun();
    ASSERT_EQ(VarnelRead(suit, &pose), 1);
    EXPECT_EQ(pose.counter, 5);
}

std::atomic<int> throwingCalls{0};

void ThrowingCallback(const SkeletonFrame*, VarnelHandle)
{
    throwingCalls++;
    throw std::runtime_error("client fault");
}

TEST_F(DeliveryTest, ThrowingCallbackLeavesTheLockFree)
{
    throwingCalls = 0;
    VarnelHandle suit = FindAndOpen({&first}, {ThrowingCallback})[0];
    first.Send(FramePacket("Suit", 100));
    ASSERT_TRUE(WaitUntil([] { return throwingCalls == 1; }));
    ASSERT_TRUE(WaitUntil([] {
        if (!library.LibraryLock.try_lock())
            return false;
        library.LibraryLock.unlock();
        return true;
    }));
    SkeletonFrame pose;
    EXPECT_EQ(VarnelRead(suit, &pose), 1);
    ExpectFinishReturns();
}

// Sensor reading `index` (0..2 orientation, 3..5 position) of a datagram.
SuitDatagram WithSensorReading(SuitDatagram packet, int index, float value)
{
    uint32_t counter = 0;
    SuitReadings readings = DecodeSuitReadings(packet.data() + PacketRawOffset, &counter);
    (index < 3 ? readings.orientation[index] : readings.position[index - 3]) = value;
    return MakeSuitDatagram(DecodeSuitHeader(packet.data()), readings, counter);
}

// Unusable sensor readings, the first one at calibration, each hold that
// sensor's last usable value: the take has no NaN and reads back whole.
TEST_F(DeliveryTest, UnusableSensorReadingsNeverReachATake)
{
    const struct {
        int reading;
        float value;
    } faults[] = {{0, std::nanf("")}, {1, INFINITY}, {2, -1e30f}, {3, std::nanf("")},
                  {4, -INFINITY},     {5, 3e38f},    {0, 1e7f}};
    first.Send(WithSensorReading(FramePacket("Suit", 0, 0, SUIT_HAS_POSITION_SENSOR), 2, NAN));
    ASSERT_EQ(VarnelFindSuits(), 1);
    VarnelHandle suit = VarnelOpen(&first.Info(), RecordFrame, nullptr);
    VarnelEnablePositionSensor(suit, 1);
    std::vector<SuitDatagram> packets;
    for (uint32_t counter = 1; counter <= 2 * std::size(faults); counter++) {
        SuitDatagram packet = FramePacket("Suit", counter, int(counter), SUIT_HAS_POSITION_SENSOR);
        if (counter % 2 == 0)
            packet = WithSensorReading(packet, faults[counter / 2 - 1].reading,
                                       faults[counter / 2 - 1].value);
        first.Send(packet);
        ASSERT_TRUE(FrameRecorder::WaitForCount(int(counter)));
    }
    ExpectFinishReturns();

    OwnedSkeleton take;
    VarnelFreeSkeletonFrames(take.get());
    for (int i = 0; i < FrameRecorder::Count(); i++) {
        ASSERT_EQ(VarnelAddFrame(&take.skeleton), 1);
        take.skeleton.frames[i] = FrameRecorder::At(i).pose;
        for (float channel : take.skeleton.frames[i].channels)
            ASSERT_TRUE(std::isfinite(channel)) << "frame " << i;
    }
    // A held reading turns the hips as the frame before did.
    for (int i = 2; i < FrameRecorder::Count(); i += 2) {
        for (int c = 3; c < 6; c++)
            EXPECT_EQ(take.skeleton.frames[i].channels[c], take.skeleton.frames[i - 1].channels[c]);
    }
    TempFolder folder;
    std::string path = folder.File("take.bvh");
    ASSERT_EQ(VarnelWriteBVH(path.c_str(), &take.skeleton), 1);
    OwnedSkeleton readBack;
    ASSERT_EQ(VarnelReadBVH(path.c_str(), &readBack.skeleton, 85.0f, 1.5f), 1);
    EXPECT_EQ(readBack.skeleton.numFrames, FrameRecorder::Count());
    EXPECT_TRUE(RecordedMessages::Texts().empty());
}
} // namespace
