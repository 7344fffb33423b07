#include "suit_link_test_support.h"
#include "suitlink/suit_timeouts.h"

#include <stdexcept>

namespace {
// What the timeout callbacks saw; reset by each test.
std::atomic<int> timeoutCalls{0};
std::atomic<VarnelHandle> lastTimedOut{nullptr};
std::atomic<bool> callbackLeft{false};

void CountTimeout(VarnelHandle suit)
{
    lastTimedOut = suit;
    timeoutCalls++;
}

class TimeoutTest : public SuitLinkTest {
  protected:
    void SetUp() override
    {
        SuitLinkTest::SetUp();
        timeoutCalls = 0;
        lastTimedOut = nullptr;
        callbackLeft = false;
        suit.Send(MakePacket("Silent"));
        ASSERT_EQ(VarnelFindSuits(), 1);
        FakeClock::Install(100000);
    }
    VarnelHandle Open(TimeoutCallback onTimeout)
    {
        VarnelHandle handle = VarnelOpen(nullptr, nullptr, onTimeout);
        EXPECT_NE(handle, nullptr);
        return handle;
    }
    // Moves the clock and sends one datagram stamped with the new time.
    void SendAt(VarnelHandle handle, uint32_t now)
    {
        FakeClock::Set(now);
        suit.Send(MakePacket("Silent"));
        ASSERT_TRUE(WaitUntil([&] { return handle->lastReceiveTime.load() == now; }));
    }

    TestSuit suit;
};

TEST_F(TimeoutTest, FirstAfterOneSecondOfSilenceThenOncePerSecond)
{
    VarnelHandle handle = Open(CountTimeout);
    FakeClock::Set(101000);
    LetReceiverRun();
    EXPECT_EQ(timeoutCalls, 0);

    FakeClock::Set(101001);
    ASSERT_TRUE(WaitUntil([] { return timeoutCalls == 1; }));
    EXPECT_EQ(lastTimedOut.load(), handle);
    // Re-armed only more than a second after it started.
    FakeClock::Set(102001);
    LetReceiverRun();
    EXPECT_EQ(timeoutCalls, 1);
    FakeClock::Set(102002);
    ASSERT_TRUE(WaitUntil([] { return timeoutCalls == 2; }));
}

TEST_F(TimeoutTest, NoneWhileDatagramsFlow)
{
    VarnelHandle handle = Open(CountTimeout);
    for (uint32_t now = 100500; now <= 104000; now += 500)
        SendAt(handle, now);
    LetReceiverRun();
    EXPECT_EQ(timeoutCalls, 0);

    FakeClock::Set(105001);
    ASSERT_TRUE(WaitUntil([] { return timeoutCalls == 1; }));
}

TEST(TimeoutClock, ComparisonSurvivesTheCounterWrap)
{
    EXPECT_FALSE(MoreThanTimeoutAfter(1000, 0));
    EXPECT_TRUE(MoreThanTimeoutAfter(1001, 0));
    EXPECT_TRUE(MoreThanTimeoutAfter(0x000001f0, 0xfffffe00));
    EXPECT_FALSE(MoreThanTimeoutAfter(0x00000100, 0xfffffe00));
    // A time stamped just after now was read is not a second in the past.
    EXPECT_FALSE(MoreThanTimeoutAfter(5000, 5001));
}

void SlowTimeout(VarnelHandle)
{
    timeoutCalls++;
    SleepMilliseconds(150);
    callbackLeft = true;
}

TEST_F(TimeoutTest, FinishWaitsForACallbackInFlight)
{
    Open(SlowTimeout);
    FakeClock::Set(101001);
    ASSERT_TRUE(WaitUntil([] { return timeoutCalls == 1; }));
    ASSERT_TRUE(FinishReturns());
    EXPECT_TRUE(callbackLeft);
    FakeClock::Set(200000);
    LetReceiverRun();
    EXPECT_EQ(timeoutCalls, 1);
}

void CloseOwnSuit(VarnelHandle suit)
{
    VarnelClose(suit);
    timeoutCalls++;
}

TEST_F(TimeoutTest, CallbackMayCloseItsOwnSuit)
{
    VarnelHandle handle = Open(CloseOwnSuit);
    FakeClock::Set(101001);
    ASSERT_TRUE(WaitUntil([] { return timeoutCalls == 1; }));
    EXPECT_EQ(handle->frameCallback.load(), nullptr);
    FakeClock::Set(110000);
    LetReceiverRun();
    EXPECT_EQ(timeoutCalls, 1);
}

void FinishFromCallback(VarnelHandle)
{
    VarnelFinish();
    callbackLeft = true;
}

TEST_F(TimeoutTest, CallbackMayFinishTheLibrary)
{
    Open(FinishFromCallback);
    FakeClock::Set(101001);
    EXPECT_TRUE(WaitUntil([] { return callbackLeft.load(); }));
    EXPECT_EQ(VarnelNumSuits(), 0);
}

void ThrowingTimeout(VarnelHandle)
{
    timeoutCalls++;
    throw std::runtime_error("client fault");
}

TEST_F(TimeoutTest, ThrowingCallbackIsContained)
{
    Open(ThrowingTimeout);
    FakeClock::Set(101001);
    ASSERT_TRUE(WaitUntil([] { return timeoutCalls == 1; }));
    EXPECT_TRUE(library.receiveRunning.load());
    EXPECT_TRUE(FinishReturns());
}
} // namespace
