// What the header promises about threads: the suit-table calls are safe
// against a rescan on another thread, and the message handler never runs
// with the library lock held.
#include "delivery_test_support.h"

#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"

namespace {
// Opens and closes suits found by enumeration for as long as it runs; each
// suit it holds open must stay the one it asked for.
void EnumerateAndOpen(const std::atomic<bool>& running, std::atomic<int>& opened,
                      std::atomic<int>& wrongSuits)
{
    while (running.load()) {
        for (int i = 0; i < VarnelNumSuits(); i++) {
            SuitInfo info;
            if (!VarnelEnumerateSuitInfo(i, &info))
                continue;
            VarnelHandle suit = VarnelOpen(&info, nullptr, nullptr);
            if (!suit)
                continue;
            opened++;
            SuitInfo held;
            VarnelGetSuitInfo(suit, &held);
            if (held.address != info.address || held.port != info.port ||
                VarnelHandleFromInfo(&info) != suit)
                wrongSuits++;
            VarnelClose(suit);
        }
    }
}

TEST_F(SuitLinkTest, SuitsMayBeEnumeratedAndOpenedWhileAnotherThreadRescans)
{
    TestSuit first, second;
    std::vector<std::pair<const TestSuit*, SuitDatagram>> suits = {{&first, MakePacket("First")},
                                                                   {&second, MakePacket("Second")}};
    ASSERT_EQ(FindSuitsWhileSending(suits), 2);
    std::atomic<bool> running{true};
    std::atomic<int> opened{0}, wrongSuits{0};
    std::thread client(EnumerateAndOpen, std::cref(running), std::ref(opened),
                       std::ref(wrongSuits));
    int rescans = 0, refused = 0;
    for (int round = 0; round < 3; round++) {
        int found = FindSuitsWhileSending(suits);
        EXPECT_TRUE(found == 2 || found == -1) << found;
        (found == 2 ? rescans : refused)++;
    }
    running = false;
    client.join();
    EXPECT_GT(opened.load(), 0);
    EXPECT_EQ(wrongSuits.load(), 0);
    EXPECT_EQ(rescans + refused, 3);
}

std::atomic<int> messagesUnderTheLock{0};

int CheckLockIsFree(const char* text)
{
    bool free = !library.LibraryLock.HeldByThisThread() && std::async(std::launch::async, [] {
                                                               if (!library.LibraryLock.try_lock())
                                                                   return false;
                                                               library.LibraryLock.unlock();
                                                               return true;
                                                           }).get();
    if (!free)
        messagesUnderTheLock++;
    return RecordedMessages::Handler(text);
}

std::string malformedTake;

void ReadMalformedTake(const SkeletonFrame* pose, VarnelHandle suit)
{
    OwnedSkeleton skeleton;
    VarnelReadBVH(malformedTake.c_str(), skeleton.get(), 85.0f, 1.5f);
    RecordFrame(pose, suit);
}

// A client reading a file from its frame callback makes the library report
// while the receive thread holds the lock: the message waits for the lock to
// be given back.
TEST_F(DeliveryFixture, TheMessageHandlerNeverRunsWithTheLibraryLockHeld)
{
    TempFolder folder;
    malformedTake = folder.Write("broken.bvh", "HIERARCHY\nROOT Hips\n{\nnonsense\n");
    messagesUnderTheLock = 0;
    VarnelSetMessageHandler(CheckLockIsFree);
    TestSuit suit;
    FindAndOpen({&suit}, {ReadMalformedTake});
    suit.Send(FramePacket("Suit", 1));
    ASSERT_TRUE(FrameRecorder::WaitForCount(1));
    ASSERT_TRUE(WaitUntil([] { return !RecordedMessages::Texts().empty(); }));
    EXPECT_EQ(RecordedMessages::Texts()[0].rfind("Incorrect format in file " + malformedTake, 0),
              0u);
    EXPECT_EQ(messagesUnderTheLock.load(), 0);
}
} // namespace
