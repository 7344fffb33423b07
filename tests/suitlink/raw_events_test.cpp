#include "delivery_test_support.h"

#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

namespace {
struct RawEvent {
    VarnelHandle suit;
    int event;
    SuitDatagram datagram;
};

std::mutex eventsLock;
std::vector<RawEvent> events;

void RecordRawEvent(VarnelHandle suit, int event, const uint8_t* datagram, void* context)
{
    std::lock_guard hold(eventsLock);
    RawEvent& kept = events.emplace_back(RawEvent{suit, event, {}});
    if (datagram)
        std::memcpy(kept.datagram.data(), datagram, SUIT_PACKET_SIZE);
    ++*static_cast<int*>(context);
}

std::vector<RawEvent> EventsSoFar()
{
    std::lock_guard hold(eventsLock);
    return events;
}

class RawEventsTest : public DeliveryFixture {
  protected:
    void SetUp() override
    {
        DeliveryFixture::SetUp();
        events.clear();
    }
    void TearDown() override
    {
        VarnelSetRawCallback(nullptr, nullptr);
        DeliveryFixture::TearDown();
    }
    TestSuit first;
    int calls = 0;
};

TEST_F(RawEventsTest, TheEventsOfALiveSuitSolvedAgainGiveItsFramesBitForBit)
{
    VarnelSetRawCallback(RecordRawEvent, &calls);
    VarnelHandle suit = FindAndOpen({&first}, {RecordFrame})[0];
    first.Send(FramePacket("Suit", 100));
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    {
        // Three stored before one pass: two of them dropped.
        std::lock_guard hold(library.LibraryLock);
        for (uint32_t counter = 101; counter <= 103; counter++)
            first.Send(FramePacket("Suit", counter, 40 * int(counter - 100)));
    }
    ASSERT_TRUE(FrameRecorder::WaitForCount(2));
    VarnelSetNull(suit);
    first.Send(FramePacket("Suit", 104, 90));
    ASSERT_TRUE(FrameRecorder::WaitForCount(3));
    VarnelSetRawCallback(nullptr, nullptr);
    std::vector<RawEvent> seen = EventsSoFar();

    std::vector<int> kinds;
    for (const RawEvent& event : seen) {
        EXPECT_EQ(event.suit, suit);
        kinds.push_back(event.event);
    }
    const std::vector<int> expected = {
        VarnelRawDatagram, VarnelRawCalibration, VarnelRawSolved,   // 100
        VarnelRawDatagram, VarnelRawDatagram,    VarnelRawDatagram, // 101..103
        VarnelRawSolved,   VarnelRawCalibration,                    // VarnelSetNull
        VarnelRawDatagram, VarnelRawSolved};                        // 104
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(calls, int(seen.size()));

    VarnelRawSolver* solver = VarnelCreateRawSolver(nullptr, 0);
    ASSERT_NE(solver, nullptr);
    std::vector<SkeletonFrame> solved;
    for (const RawEvent& event : seen) {
        if (event.event == VarnelRawDatagram)
            EXPECT_EQ(VarnelRawSolverStore(solver, event.datagram.data()), 1);
        else if (event.event == VarnelRawCalibration)
            EXPECT_EQ(VarnelRawSolverCalibrate(solver, nullptr), 1);
        else
            EXPECT_EQ(VarnelRawSolverSolve(solver, 0, &solved.emplace_back()), 1);
    }
    VarnelFreeRawSolver(solver);
    ASSERT_EQ(int(solved.size()), FrameRecorder::Count());
    for (size_t i = 0; i < solved.size(); i++) {
        SkeletonFrame live = FrameRecorder::At(int(i)).pose;
        EXPECT_EQ(std::memcmp(&solved[i], &live, sizeof live), 0) << "frame " << i;
    }
    EXPECT_EQ(solved[2].counter, 1) << "the last frame counts from the later calibration";
}

TEST_F(RawEventsTest, NoEventsWithoutACallbackOrForASuitNotOpen)
{
    TestSuit second;
    VarnelSetRawCallback(RecordRawEvent, &calls);
    first.Send(FramePacket("Suit", 0));
    second.Send(FramePacket("Suit", 0));
    ASSERT_EQ(VarnelFindSuits(), 2);
    VarnelOpen(&first.Info(), RecordFrame, nullptr);
    second.Send(FramePacket("Suit", 7));
    first.Send(FramePacket("Suit", 1));
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    VarnelSetRawCallback(nullptr, nullptr);
    size_t seen = EventsSoFar().size();
    EXPECT_EQ(seen, 3u) << "the open suit's datagram, calibration and solve only";
    first.Send(FramePacket("Suit", 2));
    ASSERT_TRUE(FrameRecorder::WaitForCount(2));
    EXPECT_EQ(EventsSoFar().size(), seen);
}

TEST_F(RawEventsTest, TheRawSolverRefusesWhatItCannotSolve)
{
    ActorData broken;
    VarnelGetActorData(nullptr, &broken);
    broken.bones[2] = std::nanf("");
    EXPECT_EQ(VarnelCreateRawSolver(&broken, 0), nullptr);

    VarnelRawSolver* solver = VarnelCreateRawSolver(nullptr, 1);
    ASSERT_NE(solver, nullptr);
    SkeletonFrame pose;
    EXPECT_EQ(VarnelRawSolverSolve(solver, 0, &pose), 0) << "no datagram yet";
    EXPECT_EQ(VarnelRawSolverCalibrate(solver, &pose), 0);
    EXPECT_EQ(VarnelRawSolverStore(solver, nullptr), 0);
    EXPECT_EQ(VarnelRawSolverStore(nullptr, FramePacket("Suit", 1).data()), 0);
    EXPECT_EQ(VarnelRawSolverStore(solver, FramePacket("Suit", 5).data()), 1);
    EXPECT_EQ(VarnelRawSolverSolve(solver, 0, nullptr), 0);
    // Solved before any calibration: calibrated on the same readings first.
    EXPECT_EQ(VarnelRawSolverSolve(solver, 0, &pose), 1);
    EXPECT_EQ(pose.counter, 0);
    VarnelFreeRawSolver(solver);
    VarnelFreeRawSolver(nullptr);
}
} // namespace
