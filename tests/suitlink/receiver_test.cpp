#include "suit_link_test_support.h"
#include "suitlink/receive_thread.h"

#include <random>

namespace {
class ReceiverTest : public SuitLinkTest {
  protected:
    void SetUp() override
    {
        SuitLinkTest::SetUp();
        opened.Send(MakePacket("Opened"));
        closed.Send(MakePacket("Closed"));
        ASSERT_EQ(VarnelFindSuits(), 2);
        handle = VarnelOpen(&opened.Info(), nullptr, nullptr);
        ASSERT_NE(handle, nullptr);
    }
    SuitSlot* ClosedSlot() { return handle == Slot(0) ? Slot(1) : Slot(0); }

    // Sends packet from the open suit and waits until the receive thread has
    // stored and processed it.
    void SendAndWait(const SuitDatagram& packet)
    {
        opened.Send(packet);
        ASSERT_TRUE(WaitUntil(
            [&] { return RawOf(handle) == RawOf(packet) && handle->pendingFrames.load() == 0; }));
    }

    TestSuit opened, closed;
    VarnelHandle handle = nullptr;
};

TEST_F(ReceiverTest, StoresTheRawBlockOfAnOpenSuitOnly)
{
    EXPECT_EQ(handle->hasData, 0);
    SuitDatagram packet = MakePacket("Opened", 60.0f, 0, 9);
    SendAndWait(packet);
    EXPECT_EQ(handle->hasData, 1);
    EXPECT_EQ(VarnelGetDropped(handle), 0u);

    uint16_t channels[48];
    VarnelGetRaw(handle, channels);
    for (int i = 0; i < 48; i++)
        ASSERT_EQ(channels[i], ReadLittleEndian16(&packet[PacketRawOffset + 2 * i])) << i;

    // A suit in the table that is not open is ignored.
    closed.Send(MakePacket("Closed", 60.0f, 0, 50));
    SendAndWait(MakePacket("Opened", 60.0f, 0, 10));
    EXPECT_EQ(ClosedSlot()->hasData, 0);
    EXPECT_EQ(ClosedSlot()->pendingFrames, 0u);
    EXPECT_EQ(VarnelGetDropped(ClosedSlot()), 0u);

    // Nor is a closed one.
    VarnelClose(handle);
    opened.Send(MakePacket("Opened", 60.0f, 0, 11));
    LetReceiverRun();
    EXPECT_EQ(RawOf(handle), RawOf(MakePacket("Opened", 60.0f, 0, 10)));
}

TEST_F(ReceiverTest, ABurstIsOneFrameAndTheRestDropped)
{
    SendAndWait(MakePacket("Opened", 60.0f, 0, 1));
    {
        // Holding the lock keeps the receive thread at the store step, so the
        // burst is stored back to back before the next processing pass.
        std::lock_guard hold(library.LibraryLock);
        for (uint8_t seed = 2; seed <= 4; seed++)
            opened.Send(MakePacket("Opened", 60.0f, 0, seed));
    }
    EXPECT_TRUE(WaitUntil([&] { return VarnelGetDropped(handle) == 2u; }));
    EXPECT_TRUE(WaitUntil([&] { return handle->pendingFrames.load() == 0; }));
    EXPECT_EQ(RawOf(handle), RawOf(MakePacket("Opened", 60.0f, 0, 4)));
    LetReceiverRun();
    EXPECT_EQ(VarnelGetDropped(handle), 2u);
}

TEST_F(ReceiverTest, DatagramsOfAnotherSizeNeverStopOrReachTheSuit)
{
    SuitDatagram first = MakePacket("Opened", 60.0f, 0, 20);
    SendAndWait(first);
    uint32_t straysBefore = StrayDatagramCount();

    opened.Send("", 0);
    std::vector<uint8_t> oversize(2000);
    for (size_t i = 0; i < oversize.size(); i++)
        oversize[i] = uint8_t(i);
    std::memcpy(oversize.data(), MakePacket("Opened").data(), SUIT_PACKET_SIZE);
    opened.Send(oversize.data(), oversize.size());
    SuitDatagram truncated = MakePacket("Opened", 60.0f, 0, 99);
    opened.Send(truncated.data(), 100);
    std::mt19937 random(1234);
    for (int i = 0; i < 8; i++) {
        std::vector<uint8_t> noise(random() % 300);
        if (noise.size() == SUIT_PACKET_SIZE)
            noise.push_back(0);
        for (uint8_t& byte : noise)
            byte = uint8_t(random());
        opened.Send(noise.data(), noise.size());
    }

    ASSERT_TRUE(WaitUntil([&] { return StrayDatagramCount() - straysBefore == 11u; }));
    EXPECT_EQ(RawOf(handle), RawOf(first));
    EXPECT_EQ(handle->pendingFrames, 0u);
    EXPECT_EQ(VarnelGetDropped(handle), 0u);
    EXPECT_TRUE(library.receiveRunning.load());

    SendAndWait(MakePacket("Opened", 60.0f, 0, 21));
    EXPECT_TRUE(RecordedMessages::Texts().empty());
}
} // namespace
