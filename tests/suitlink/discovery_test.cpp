#include "actor/default_actor.h"
#include "suit_link_test_support.h"
#include "suitlink/receive_thread.h"
#include "suitlink/suit_link_limits.h"
#include "suitlink/suit_table.h"

#include <arpa/inet.h>

#include <cmath>
#include <memory>
#include <string>

namespace {
bool SameSuit(const SuitInfo& a, const SuitInfo& b)
{
    return a.address == b.address && a.port == b.port;
}

TEST_F(SuitLinkTest, OrderIsAddressBytesThenPortBytesReadLittleEndian)
{
    TestSuit second(LoopbackIpv4Address + 1);
    TestSuit portOne(LoopbackIpv4Address, 1);
    TestSuit port256(LoopbackIpv4Address, 256);
    if (!portOne.Bound() || !port256.Bound())
        GTEST_SKIP() << "source ports 1 and 256 need the right to bind low ports";
    ASSERT_TRUE(second.Bound());
    // Heard in the reverse of the table order.
    second.Send(MakePacket("Second"));
    portOne.Send(MakePacket("Port one"));
    port256.Send(MakePacket("Port 256"));

    ASSERT_EQ(VarnelFindSuits(), 3);
    SuitInfo info[3];
    for (int i = 0; i < 3; i++)
        ASSERT_EQ(VarnelEnumerateSuitInfo(i, &info[i]), 1);
    // Port 256 is stored as the bytes 01 00, which read little-endian as 1.
    EXPECT_STREQ(info[0].name, "Port 256");
    EXPECT_STREQ(info[1].name, "Port one");
    EXPECT_STREQ(info[2].name, "Second");
    EXPECT_TRUE(SameSuit(info[0], port256.Info()));
    EXPECT_TRUE(SameSuit(info[2], second.Info()));
}

TEST(SuitOrder, AddressDecidesBeforePort)
{
    SuitInfo low{}, high{};
    inet_pton(AF_INET, "10.0.0.1", &low.address);
    inet_pton(AF_INET, "10.0.0.2", &high.address);
    low.port = htons(6000);
    high.port = htons(5000);
    EXPECT_TRUE(SuitComesBefore(low, high));
    EXPECT_FALSE(SuitComesBefore(high, low));
    // The first octet weighs most, whatever the host's byte order.
    inet_pton(AF_INET, "9.255.255.255", &low.address);
    inet_pton(AF_INET, "10.0.0.0", &high.address);
    EXPECT_TRUE(SuitComesBefore(low, high));
    EXPECT_FALSE(SuitComesBefore(low, low));
}

TEST_F(SuitLinkTest, IdentityComesFromTheFirstWellFormedDatagram)
{
    TestSuit suit, shortLength, longLength, noise;
    uint32_t straysBefore = StrayDatagramCount();

    SuitDatagram bad = MakePacket("Length 151");
    bad[PacketLengthOffset] = 151;
    shortLength.Send(bad);
    bad[PacketLengthOffset] = 153;
    longLength.Send(bad);
    noise.Send("", 0);
    noise.Send(std::vector<uint8_t>(100, 0x5a).data(), 100);
    std::vector<uint8_t> oversize(2000, 0);
    std::memcpy(oversize.data(), MakePacket("Oversize").data(), SUIT_PACKET_SIZE);
    noise.Send(oversize.data(), oversize.size());
    // A name filling all 16 bytes without a terminator.
    SuitDatagram unterminated =
        MakePacket("ABCDEFGHIJKLMNO", 120.0f, SUIT_HAS_POSITION_SENSOR | 0x100);
    unterminated[PacketNameOffset + SuitNameSize - 1] = 'P';
    suit.Send(unterminated);
    suit.Send(MakePacket("Later name", 30.0f, 0));

    ASSERT_EQ(VarnelFindSuits(), 1);
    SuitInfo info;
    ASSERT_EQ(VarnelEnumerateSuitInfo(0, &info), 1);
    EXPECT_TRUE(SameSuit(info, suit.Info()));
    EXPECT_STREQ(info.name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(info.flags, SUIT_HAS_POSITION_SENSOR | 0x100);
    EXPECT_EQ(info.frameRate, 120.0f);
    EXPECT_EQ(StrayDatagramCount() - straysBefore, 3u);
    EXPECT_TRUE(RecordedMessages::Texts().empty());
}

TEST_F(SuitLinkTest, NothingHeardLeavesAnEmptyTableAndNoThread)
{
    EXPECT_EQ(VarnelFindSuits(), 0);
    EXPECT_EQ(VarnelNumSuits(), 0);
    EXPECT_FALSE(library.receiveThread.running);
    EXPECT_EQ(VarnelOpen(nullptr, nullptr, nullptr), nullptr);
    SuitInfo info;
    EXPECT_EQ(VarnelHandleFromInfo(&info), nullptr);
}

TEST_F(SuitLinkTest, RefusedWhileASuitIsOpen)
{
    TestSuit suit;
    suit.Send(MakePacket("Open suit"));
    ASSERT_EQ(VarnelFindSuits(), 1);
    SuitSlot* table = library.suitTable;
    VarnelHandle handle = VarnelOpen(nullptr, nullptr, nullptr);
    ASSERT_NE(handle, nullptr);

    EXPECT_EQ(VarnelFindSuits(), -1);
    EXPECT_EQ(library.suitTable, table);
    EXPECT_EQ(VarnelNumSuits(), 1);
    // The receive thread still runs.
    SuitDatagram packet = MakePacket("Open suit", 60.0f, 0, 42);
    suit.Send(packet);
    EXPECT_TRUE(WaitUntil([&] { return RawOf(handle) == RawOf(packet); }));
}

TEST_F(SuitLinkTest, RescanKeepsActorAndCalibrationOfSuitsHeardAgain)
{
    TestSuit kept, dropped, added;
    kept.Send(MakePacket("Kept"));
    dropped.Send(MakePacket("Dropped"));
    ASSERT_EQ(VarnelFindSuits(), 2);
    SuitSlot* known = VarnelOpen(&kept.Info(), nullptr, nullptr);
    ASSERT_NE(known, nullptr);
    {
        std::lock_guard hold(library.LibraryLock);
        known->actor.bones[BoneSpine] = 21.5f;
        known->actor.tweaks[TweakHeadZ] = -3.0f;
        known->nullSet = 1;
        std::memset(known->solver.nullRaw, 0x11, SuitRawSize);
        known->solver.support.supportIndex = 2;
        known->solver.support.previousContacts[3] = Vector(1.0f, 2.0f, 3.0f);
        known->solver.nullCounter = 777;
        known->solver.support.rootOffset = Vector(4.0f, 5.0f, 6.0f);
        std::memset(known->solver.previousRaw, 0x22, SuitRawSize);
        known->hasData = 1;
    }
    known->positionSensorEnabled = 1;
    known->droppedFrames = 9;
    VarnelClose(known);

    ASSERT_EQ(FindSuitsWhileSending({{&kept, MakePacket("Kept")}, {&added, MakePacket("Added")}}),
              2);
    SuitSlot* again = nullptr;
    SuitSlot* fresh = nullptr;
    for (int i = 0; i < 2; i++) {
        if (SameSuit(SuitInfoOf(*Slot(i)), kept.Info()))
            again = Slot(i);
        if (SameSuit(SuitInfoOf(*Slot(i)), added.Info()))
            fresh = Slot(i);
    }
    ASSERT_NE(again, nullptr);
    ASSERT_NE(fresh, nullptr);

    EXPECT_EQ(again->actor.bones[BoneSpine], 21.5f);
    EXPECT_EQ(again->actor.tweaks[TweakHeadZ], -3.0f);
    EXPECT_EQ(again->nullSet, 1);
    EXPECT_EQ(again->solver.nullRaw[SuitRawSize - 1], 0x11);
    EXPECT_EQ(again->solver.support.supportIndex, 2);
    EXPECT_EQ(again->solver.support.previousContacts[3].z, 3.0f);
    EXPECT_EQ(again->solver.nullCounter, 777u);
    EXPECT_EQ(again->solver.support.rootOffset.y, 5.0f);
    EXPECT_EQ(again->solver.previousRaw[0], 0x22);
    // What belongs to a session starts afresh.
    EXPECT_EQ(again->hasData, 0);
    EXPECT_EQ(again->positionSensorEnabled, 0);
    EXPECT_EQ(again->droppedFrames, 0u);
    EXPECT_EQ(again->frameCallback, nullptr);

    EXPECT_EQ(fresh->nullSet, 0);
    EXPECT_EQ(std::memcmp(&fresh->actor, &DefaultActorData(), sizeof(ActorData)), 0);
}

TEST(DefaultActor, ValuesSitAtTheirNamedIndices)
{
    const ActorData& actor = DefaultActorData();
    EXPECT_EQ(actor.bones[BoneLeftPelvis], 5.0f);
    EXPECT_EQ(actor.bones[BoneRightAnkleHeight], 3.5f);
    EXPECT_EQ(actor.bones[BonePelvisHeight], 3.0f);
    EXPECT_EQ(actor.bones[BonePelvisDepth], 1.0f);
    EXPECT_EQ(actor.bones[BoneRightHand], 7.0f);
    EXPECT_EQ(actor.bones[BoneSpine], 19.0f);
    EXPECT_EQ(actor.bones[BoneNeck], 6.5f);
    EXPECT_EQ(actor.bones[BoneHead], 7.0f);
    EXPECT_EQ(actor.displacements[DisplacementPotToLeftWristX], 2.6f);
    EXPECT_EQ(actor.displacements[DisplacementPotToRightAnkleY], 2.0f);
    EXPECT_EQ(actor.displacements[DisplacementPotToNeckZ], 3.0f);
    for (float tweak : actor.tweaks)
        EXPECT_EQ(tweak, 0.0f);
    EXPECT_EQ(actor.scales[ScaleRightAnkleX], 1.0f);
    EXPECT_EQ(actor.scales[ScaleLeftShoulderX], 1.2f);
    EXPECT_EQ(actor.scales[ScaleLeftShoulderZ], 1.3f);
    EXPECT_EQ(actor.scales[ScaleRightShoulderY], 1.2f);
    EXPECT_EQ(actor.scales[ScaleRightShoulderZ], 1.3f);
    EXPECT_EQ(actor.scales[ScaleLeftHipX], 1.0f);
    EXPECT_EQ(actor.scales[ScaleRightHipZ], 1.0f);
}
} // namespace

namespace {
TEST_F(SuitLinkTest, AFloodOfSourcesFillsTheTableOnlyUpToItsLimit)
{
    std::vector<std::unique_ptr<TestSuit>> flood;
    std::vector<std::pair<const TestSuit*, SuitDatagram>> sending;
    for (int i = 0; i < MaxSuits + 44; i++) {
        flood.push_back(std::make_unique<TestSuit>());
        sending.emplace_back(flood.back().get(), MakePacket("Flood"));
    }
    uint32_t ignoredBefore = library.ignoredSuitDatagrams.load();

    EXPECT_EQ(FindSuitsWhileSending(sending), MaxSuits);
    EXPECT_EQ(VarnelNumSuits(), MaxSuits);
    EXPECT_GE(library.ignoredSuitDatagrams.load() - ignoredBefore, 44u);
}

TEST_F(SuitLinkTest, ARateThatIsNoPositiveNumberIsListedAsZero)
{
    const float rates[] = {std::nanf(""), -60.0f, INFINITY, -INFINITY, 0.0f};
    std::vector<std::unique_ptr<TestSuit>> suits;
    for (float rate : rates) {
        suits.push_back(std::make_unique<TestSuit>());
        suits.back()->Send(MakePacket("Odd rate", rate));
    }
    ASSERT_EQ(VarnelFindSuits(), int(std::size(rates)));
    for (int i = 0; i < VarnelNumSuits(); i++) {
        SuitInfo info;
        ASSERT_EQ(VarnelEnumerateSuitInfo(i, &info), 1);
        EXPECT_EQ(info.frameRate, 0.0f) << i;
        SuitSlot* suit = VarnelOpen(&info, nullptr, nullptr);
        EXPECT_EQ(VarnelGetFrameRate(suit), 1.0f) << i;
    }
}
} // namespace
