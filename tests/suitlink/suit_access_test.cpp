#include "suit_link_test_support.h"
#include "suitlink/receive_thread.h"

#include <cmath>
#include <limits>

namespace {
// Three suits on loopback, discovered once per test.
class SuitAccessTest : public SuitLinkTest {
  protected:
    void SetUp() override
    {
        SuitLinkTest::SetUp();
        slow.Send(MakePacket("Slow", 0.5f, 0));
        sensor.Send(MakePacket("Sensor", 60.0f, SUIT_HAS_POSITION_SENSOR));
        broken.Send(MakePacket("Broken", std::numeric_limits<float>::quiet_NaN(), 0));
        ASSERT_EQ(VarnelFindSuits(), 3);
    }
    SuitSlot* SlotOf(const TestSuit& suit)
    {
        for (int i = 0; i < VarnelNumSuits(); i++) {
            if (Slot(i)->address == suit.Info().address && Slot(i)->port == suit.Info().port)
                return Slot(i);
        }
        return nullptr;
    }

    TestSuit slow, sensor, broken;
};

void IgnoreFrame(const SkeletonFrame*, VarnelHandle)
{
}

TEST_F(SuitAccessTest, OpenWithoutInfoTakesTheFirstClosedSlot)
{
    VarnelHandle first = VarnelOpen(nullptr, nullptr, nullptr);
    VarnelHandle second = VarnelOpen(nullptr, IgnoreFrame, nullptr);
    VarnelHandle third = VarnelOpen(nullptr, nullptr, nullptr);
    EXPECT_EQ(first, Slot(0));
    EXPECT_EQ(second, Slot(1));
    EXPECT_EQ(third, Slot(2));
    EXPECT_EQ(VarnelOpen(nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(second->frameCallback.load(), &IgnoreFrame);
    EXPECT_NE(first->frameCallback.load(), nullptr);

    VarnelClose(second);
    EXPECT_EQ(VarnelOpen(nullptr, nullptr, nullptr), second);
}

TEST_F(SuitAccessTest, OpenByInfoComparesAddressAndPortOnly)
{
    SuitInfo wanted = sensor.Info();
    std::strcpy(wanted.name, "Another name");
    wanted.frameRate = 5.0f;
    VarnelHandle handle = VarnelOpen(&wanted, nullptr, nullptr);
    ASSERT_EQ(handle, SlotOf(sensor));
    EXPECT_EQ(VarnelHandleFromInfo(&wanted), handle);
    // Already open: no second slot matches.
    EXPECT_EQ(VarnelOpen(&wanted, nullptr, nullptr), nullptr);

    VarnelClose(handle);
    EXPECT_EQ(VarnelHandleFromInfo(&wanted), nullptr);
    EXPECT_EQ(VarnelHandleFromInfo(nullptr), nullptr);
    SuitInfo stranger = wanted;
    stranger.port ^= 0x0101;
    EXPECT_EQ(VarnelOpen(&stranger, nullptr, nullptr), nullptr);
}

TEST_F(SuitAccessTest, OpenResetsSessionStateAndKeepsCalibration)
{
    // A running receiver would turn the planted pending frames into dropped
    // ones behind VarnelOpen's back.
    StopReceiveThread();
    SuitSlot* slot = SlotOf(sensor);
    slot->droppedFrames = 5;
    slot->pendingFrames = 3;
    slot->timeoutActive = 1;
    slot->positionSensorEnabled = 1;
    slot->hasData = 1;
    slot->nullSet = 1;

    ASSERT_EQ(VarnelOpen(&sensor.Info(), nullptr, nullptr), slot);
    EXPECT_EQ(VarnelGetDropped(slot), 0u);
    EXPECT_EQ(slot->pendingFrames, 0u);
    EXPECT_EQ(slot->timeoutActive, 0);
    EXPECT_EQ(slot->positionSensorEnabled, 0);
    EXPECT_EQ(slot->hasData, 1);
    EXPECT_EQ(slot->nullSet, 1);

    slot->droppedFrames = 4;
    EXPECT_EQ(VarnelGetDropped(slot), 4u);
    VarnelClearDropped(slot);
    EXPECT_EQ(VarnelGetDropped(slot), 0u);
}

TEST_F(SuitAccessTest, FrameRateIsAtLeastOne)
{
    EXPECT_EQ(VarnelGetFrameRate(SlotOf(slow)), 1.0f);
    EXPECT_EQ(VarnelGetFrameRate(SlotOf(sensor)), 60.0f);
    EXPECT_EQ(VarnelGetFrameRate(SlotOf(broken)), 1.0f);
    EXPECT_EQ(VarnelGetFrameRate(nullptr), 0.0f);
    // The identity keeps what the suit sent.
    SuitInfo info;
    VarnelGetSuitInfo(SlotOf(slow), &info);
    EXPECT_EQ(info.frameRate, 0.5f);
    EXPECT_STREQ(info.name, "Slow");
}

TEST_F(SuitAccessTest, PositionSensorOnlyForSuitsThatHaveOne)
{
    SuitSlot* without = SlotOf(slow);
    without->nullSet = 1;
    VarnelEnablePositionSensor(without, 1);
    EXPECT_EQ(without->positionSensorEnabled, 0);
    EXPECT_EQ(without->nullSet, 1);

    SuitSlot* with = SlotOf(sensor);
    with->nullSet = 1;
    VarnelEnablePositionSensor(with, 7);
    EXPECT_EQ(with->positionSensorEnabled, 1);
    EXPECT_EQ(with->nullSet, 0);
    // Unchanged setting: the calibration stays.
    with->nullSet = 1;
    VarnelEnablePositionSensor(with, 1);
    EXPECT_EQ(with->nullSet, 1);
    VarnelEnablePositionSensor(with, 0);
    EXPECT_EQ(with->positionSensorEnabled, 0);
    EXPECT_EQ(with->nullSet, 0);
}

TEST_F(SuitAccessTest, NullHandlesAndBadIndicesWriteNothing)
{
    SuitInfo info;
    std::memset(&info, 0xab, sizeof info);
    EXPECT_EQ(VarnelEnumerateSuitInfo(-1, &info), 0);
    EXPECT_EQ(VarnelEnumerateSuitInfo(3, &info), 0);
    EXPECT_EQ(info.port, 0xabab);
    EXPECT_EQ(VarnelEnumerateSuitInfo(0, nullptr), 0);

    VarnelGetSuitInfo(nullptr, &info);
    SuitInfo zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&info, &zero, sizeof info), 0);

    uint16_t channels[48];
    std::fill(std::begin(channels), std::end(channels), uint16_t(0xbeef));
    VarnelGetRaw(nullptr, channels);
    EXPECT_EQ(channels[47], 0xbeef);
    EXPECT_EQ(VarnelGetDropped(nullptr), 0u);
    VarnelClearDropped(nullptr);
    VarnelClose(nullptr);
    VarnelEnablePositionSensor(nullptr, 1);
}
} // namespace
