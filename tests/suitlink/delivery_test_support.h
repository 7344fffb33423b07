// Datagrams with plausible readings and a frame callback that records what
// it is handed, for the frame delivery and calibration tests.
#pragma once

#include "suit_link_test_support.h"

#include <cstdio>
#include <cstdlib>

// A datagram of a suit standing still, every potentiometer `bend` counts
// away from its fixed reading, with the given counter.
inline SuitDatagram FramePacket(const char* name, uint32_t counter, int bend = 0,
                                uint16_t flags = 0)
{
    return MakeSuitDatagram(MakeSuitHeader(name, 120.0f, flags), StandingReadings(bend), counter);
}

// A VarnelFinish that hangs leaves nothing to tear down: the process ends
// with the failure.
inline void ExpectFinishReturns()
{
    if (FinishReturns())
        return;
    ADD_FAILURE() << "VarnelFinish did not return";
    std::fflush(stdout);
    std::_Exit(1);
}

struct DeliveredFrame {
    VarnelHandle suit;
    SkeletonFrame pose;
};

// Frames handed to RecordFrame, in order. Only the receive thread records;
// the count is published after the record, so readers see whole records.
class FrameRecorder {
  public:
    static void Record(const SkeletonFrame* pose, VarnelHandle suit)
    {
        int index = count.load();
        if (index >= Capacity)
            return;
        frames[index] = {suit, *pose};
        count.store(index + 1);
    }
    static int Count() { return count.load(); }
    static DeliveredFrame At(int index) { return frames[index]; }
    // Only while no receive thread runs.
    static void Clear() { count.store(0); }
    static bool WaitForCount(int wanted)
    {
        return WaitUntil([wanted] { return count.load() >= wanted; });
    }

  private:
    static constexpr int Capacity = 64;
    static inline DeliveredFrame frames[Capacity];
    static inline std::atomic<int> count{0};
};

inline void RecordFrame(const SkeletonFrame* pose, VarnelHandle suit)
{
    FrameRecorder::Record(pose, suit);
}

inline bool AllRotationsZero(const SkeletonFrame& pose)
{
    for (int channel = 3; channel < VARNEL_NUM_CHANNELS; channel++) {
        if (pose.channels[channel] != 0.0f)
            return false;
    }
    return true;
}

inline bool SameFrame(const SkeletonFrame& a, const SkeletonFrame& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class DeliveryFixture : public SuitLinkTest {
  protected:
    void SetUp() override
    {
        SuitLinkTest::SetUp();
        VarnelSetFloor(FloorGeometry{});
        FrameRecorder::Clear();
    }
    void TearDown() override
    {
        SuitLinkTest::TearDown();
        VarnelSetFloor(FloorGeometry{});
    }
    // Finds the given suits (each sends one datagram first) and opens each
    // with its frame callback, in the order given.
    std::vector<VarnelHandle> FindAndOpen(const std::vector<const TestSuit*>& suits,
                                          const std::vector<FrameCallback>& callbacks,
                                          uint16_t flags = 0)
    {
        for (const TestSuit* suit : suits)
            suit->Send(FramePacket("Suit", 0, 0, flags));
        EXPECT_EQ(VarnelFindSuits(), int(suits.size()));
        std::vector<VarnelHandle> handles;
        for (size_t i = 0; i < suits.size(); i++) {
            handles.push_back(VarnelOpen(&suits[i]->Info(), callbacks[i], nullptr));
            EXPECT_NE(handles.back(), nullptr);
        }
        return handles;
    }
};
