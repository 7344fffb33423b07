#include "actor/default_actor.h"
#include "delivery_test_support.h"

#include <algorithm>
#include <iterator>

namespace {
class CalibrationEntryTest : public DeliveryFixture {
  protected:
    static std::array<uint8_t, SuitRawSize> NullRawOf(const SuitSlot* slot)
    {
        std::array<uint8_t, SuitRawSize> raw;
        std::lock_guard hold(library.LibraryLock);
        std::memcpy(raw.data(), slot->solver.nullRaw, SuitRawSize);
        return raw;
    }
    static SkeletonFrame CurrentPose()
    {
        std::lock_guard hold(library.LibraryLock);
        return library.CurrentPose;
    }
    // Runs VarnelSetNull on a thread of its own.
    static std::future<void> SetNullAsync(VarnelHandle suit)
    {
        return std::async(std::launch::async, [suit] { VarnelSetNull(suit); });
    }

    TestSuit suit, silent;
};

TEST_F(CalibrationEntryTest, ReadOfAnUncalibratedSuitIsTheCalibrationFrame)
{
    VarnelHandle handle = FindAndOpen({&suit}, {RecordFrame}, SUIT_HAS_POSITION_SENSOR)[0];
    ActorData actor = DefaultActorData();
    actor.bones[BoneLeftUpperLeg] = actor.bones[BoneRightUpperLeg] = 20.0f;
    actor.bones[BoneLeftLowerLeg] = actor.bones[BoneRightLowerLeg] = 18.0f;
    actor.tweaks[TweakPositionX] = 2.0f;
    actor.tweaks[TweakPositionY] = -3.0f;
    actor.scales[ScalePositionX] = actor.scales[ScalePositionY] = 1.5f;
    VarnelSetActorData(handle, &actor);
    SuitDatagram packet = FramePacket("Suit", 700, 0, SUIT_HAS_POSITION_SENSOR);
    suit.Send(packet);
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));

    // A change of the position sensor drops the calibration.
    VarnelEnablePositionSensor(handle, 1);
    ASSERT_EQ(handle->nullSet.load(), 0);
    SkeletonFrame pose;
    ASSERT_EQ(VarnelRead(handle, &pose), 1);
    EXPECT_EQ(handle->nullSet.load(), 1);
    EXPECT_EQ(NullRawOf(handle), RawOf(packet));
    EXPECT_EQ(pose.counter, 0);
    EXPECT_EQ(pose.contacts, uint32_t(ContactLeftFootHeel));
    EXPECT_TRUE(AllRotationsZero(pose));
    // No travel yet: the hips stand on the position tweaks, the legs' length
    // (thigh, shin, ankle height) above the lowest foot point.
    float hipHeight = 20.0f + 18.0f + actor.bones[BoneLeftAnkleHeight];
    EXPECT_FLOAT_EQ(pose.channels[0], 3.0f);
    EXPECT_FLOAT_EQ(pose.channels[1], -4.5f);
    EXPECT_FLOAT_EQ(pose.channels[2], hipHeight);

    SkeletonFrame again;
    ASSERT_EQ(VarnelRead(handle, &again), 1);
    EXPECT_TRUE(SameFrame(pose, again));
}

TEST_F(CalibrationEntryTest, SetNullTwiceGivesTheSameRecordAndClearsDropped)
{
    VarnelHandle handle = FindAndOpen({&suit}, {RecordFrame})[0];
    VarnelSetNull(nullptr);
    suit.Send(FramePacket("Suit", 100));
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    {
        std::lock_guard hold(library.LibraryLock);
        for (uint32_t counter = 101; counter <= 104; counter++)
            suit.Send(FramePacket("Suit", counter, 30 * int(counter - 100)));
    }
    ASSERT_TRUE(WaitUntil([&] { return VarnelGetDropped(handle) == 3u; }));
    ASSERT_TRUE(FrameRecorder::WaitForCount(2));

    VarnelSetNull(handle);
    EXPECT_EQ(VarnelGetDropped(handle), 0u);
    std::array<uint8_t, SuitRawSize> record = NullRawOf(handle);
    SkeletonFrame frame = CurrentPose();
    EXPECT_EQ(record, RawOf(FramePacket("Suit", 104, 120)));
    EXPECT_EQ(frame.counter, 0);
    EXPECT_TRUE(AllRotationsZero(frame));

    VarnelSetNull(handle);
    EXPECT_EQ(NullRawOf(handle), record);
    EXPECT_TRUE(SameFrame(CurrentPose(), frame));
}

TEST_F(CalibrationEntryTest, ChangedPositionSensorRecalibratesOnTheNextDatagram)
{
    VarnelHandle handle = FindAndOpen({&suit}, {RecordFrame}, SUIT_HAS_POSITION_SENSOR)[0];
    suit.Send(FramePacket("Suit", 100, 0, SUIT_HAS_POSITION_SENSOR));
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    suit.Send(FramePacket("Suit", 150, 300, SUIT_HAS_POSITION_SENSOR));
    ASSERT_TRUE(FrameRecorder::WaitForCount(2));
    EXPECT_EQ(FrameRecorder::At(1).pose.counter, 50);

    VarnelEnablePositionSensor(handle, 1);
    SuitDatagram packet = FramePacket("Suit", 170, 500, SUIT_HAS_POSITION_SENSOR);
    suit.Send(packet);
    ASSERT_TRUE(FrameRecorder::WaitForCount(3));
    EXPECT_EQ(FrameRecorder::At(2).pose.counter, 0);
    EXPECT_TRUE(AllRotationsZero(FrameRecorder::At(2).pose));
    EXPECT_EQ(NullRawOf(handle), RawOf(packet));
}

TEST_F(CalibrationEntryTest, WaitForTheFirstDatagramLeavesTheLockFree)
{
    VarnelHandle handle = FindAndOpen({&suit}, {RecordFrame})[0];
    std::future<void> call = SetNullAsync(handle);
    LetReceiverRun();
    EXPECT_EQ(call.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    // The receive thread needs the lock to store what ends the wait.
    suit.Send(FramePacket("Suit", 100));
    ASSERT_TRUE(ReturnsWithin(call));
    EXPECT_EQ(handle->nullSet.load(), 1);
}

TEST_F(CalibrationEntryTest, WaitGivesUpWhenTheLibraryFinishes)
{
    VarnelHandle handle = FindAndOpen({&silent}, {RecordFrame})[0];
    {
        std::lock_guard hold(library.LibraryLock);
        library.CurrentPose.counter = 4242;
    }
    std::future<void> call = SetNullAsync(handle);
    LetReceiverRun();
    // The slot is freed while the call waits; it must not be read afterwards.
    ExpectFinishReturns();
    ASSERT_TRUE(ReturnsWithin(call));
    EXPECT_EQ(CurrentPose().counter, 4242);
}

std::atomic<int> timeoutWaitsEnded{0};

void CalibrateOnTimeout(VarnelHandle suit)
{
    VarnelSetNull(suit);
    timeoutWaitsEnded++;
}

TEST_F(CalibrationEntryTest, FinishDoesNotWaitForeverOnATimeoutThatCalibrates)
{
    timeoutWaitsEnded = 0;
    silent.Send(FramePacket("Silent", 0));
    ASSERT_EQ(VarnelFindSuits(), 1);
    FakeClock::Install(5000);
    VarnelHandle handle = VarnelOpen(nullptr, nullptr, CalibrateOnTimeout);
    ASSERT_NE(handle, nullptr);
    FakeClock::Set(6001);
    LetReceiverRun();
    EXPECT_EQ(timeoutWaitsEnded, 0);
    ExpectFinishReturns();
    EXPECT_EQ(timeoutWaitsEnded, 1);
}

std::atomic<VarnelHandle> silentSuit{nullptr};
std::atomic<int> callbackCalibrations{0};

void CalibrateSilentSuit(const SkeletonFrame*, VarnelHandle)
{
    VarnelSetNull(silentSuit.load());
    callbackCalibrations++;
}

TEST_F(CalibrationEntryTest, FrameCallbackCannotWaitForAnotherSuitsFirstDatagram)
{
    callbackCalibrations = 0;
    std::vector<VarnelHandle> suits =
        FindAndOpen({&suit, &silent}, {CalibrateSilentSuit, RecordFrame});
    silentSuit = suits[1];
    suit.Send(FramePacket("Suit", 100));
    ASSERT_TRUE(WaitUntil([] { return callbackCalibrations == 1; }));
    // The receive thread, the only one that stores datagrams, keeps going.
    suit.Send(FramePacket("Suit", 200, 50));
    ASSERT_TRUE(WaitUntil([] { return callbackCalibrations == 2; }));
    EXPECT_EQ(suits[1]->nullSet.load(), 0);
}
} // namespace
