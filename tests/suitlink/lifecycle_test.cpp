#include "platform/message_report.h"
#include "suit_link_test_support.h"
#include "suitlink/socket_error_text.h"

#include <string>

namespace {
const char* const AddressInUseText =
    "WSAEADDRINUSE: A process on the machine is already bound to the same fully-qualified address";

TEST_F(SuitLinkTest, InitTwiceTearsDownAndBindsAgain)
{
    TestSuit suit;
    suit.Send(MakePacket("Suit"));
    ASSERT_EQ(VarnelFindSuits(), 1);

    // Would fail with the port in use if the first socket were still open.
    EXPECT_EQ(VarnelInit(), 1);
    EXPECT_EQ(VarnelNumSuits(), 0);
    EXPECT_FALSE(library.receiveThread.running);
    EXPECT_TRUE(RecordedMessages::Texts().empty());
}

TEST(SuitLinkLifecycle, FinishWithoutInitDoesNothing)
{
    VarnelFinish();
    VarnelFinish();
    EXPECT_EQ(VarnelFindSuits(), -1);
    EXPECT_EQ(VarnelNumSuits(), 0);
    EXPECT_EQ(VarnelOpen(nullptr, nullptr, nullptr), nullptr);
}

TEST(SuitLinkLifecycle, PortHeldByAnotherSocketIsABindError)
{
    RecordedMessages::Clear();
    VarnelSetMessageHandler(RecordedMessages::Handler);
    {
        LoopbackSocket holder(AnyIpv4Address, SuitPort());
        ASSERT_TRUE(holder.Bound());
        EXPECT_EQ(VarnelInit(), 0);
        EXPECT_EQ(VarnelFindSuits(), -1);
    }
    ASSERT_EQ(RecordedMessages::Texts().size(), 1u);
    EXPECT_EQ(RecordedMessages::Texts()[0], std::string("Socket bind error ") + AddressInUseText);

    EXPECT_EQ(VarnelInit(), 1);
    VarnelFinish();
    VarnelSetMessageHandler(nullptr);
}

// A hundred times real speed: a discovery window lasts 10 ms and a silent
// suit times out after 10 ms, so many rounds fit in a test.
uint32_t HurriedClock()
{
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return uint32_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count() / 10);
}

void FinishFromFrame(const SkeletonFrame*, VarnelHandle)
{
    VarnelFinish();
}

void FinishFromTimeout(VarnelHandle)
{
    VarnelFinish();
}

// Every lifecycle call from several threads at once, while a suit either
// streams (its frame callback calling Finish) or falls silent (its timeout
// callback calling Finish): each call returns, and the library ends clean.
TEST(SuitLinkLifecycle, LifecycleCallsFromManyThreadsAtOnceAllReturn)
{
    RecordedMessages::Clear();
    VarnelSetMessageHandler(RecordedMessages::Handler);
    SetClockSourceForTesting(HurriedClock);
    TestSuit suit;
    for (int round = 0; round < 40; round++) {
        ASSERT_EQ(VarnelInit(), 1);
        // Waiting in the socket, so that discovery's window of 10 ms hears
        // the suit however late a busy machine runs the sender.
        suit.Send(MakePacket("Race"));
        // Discovery waits on the socket in clock units: datagrams keep its
        // waits short.
        std::atomic<bool> sending{true};
        std::thread sender([&] {
            while (sending.load()) {
                suit.Send(MakePacket("Race"));
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        ASSERT_EQ(VarnelFindSuits(), 1);
        ASSERT_NE(VarnelOpen(nullptr, FinishFromFrame, FinishFromTimeout), nullptr);
        bool streaming = round % 2 == 1;
        sending = streaming;
        std::vector<std::future<void>> callers;
        for (int caller = 0; caller < 4; caller++) {
            callers.push_back(std::async(std::launch::async, [=] {
                std::this_thread::sleep_for(std::chrono::milliseconds((caller * 3 + round) % 13));
                if (caller == 2 && round % 3 == 0)
                    VarnelInit();
                else if (caller == 3)
                    VarnelFindSuits();
                else
                    VarnelFinish();
            }));
        }
        for (auto& call : callers)
            ASSERT_TRUE(ReturnsWithin(call)) << "round " << round;
        sending = false;
        sender.join();
        ASSERT_TRUE(FinishReturns()) << "round " << round;
        EXPECT_FALSE(library.receiveThread.running);
        EXPECT_EQ(VarnelNumSuits(), 0);
    }
    SetClockSourceForTesting(nullptr);
    VarnelSetMessageHandler(nullptr);
    EXPECT_TRUE(RecordedMessages::Texts().empty());
}

TEST(SocketErrorText, ListedAndUnlistedCodes)
{
    EXPECT_STREQ(SocketErrorText(10048), AddressInUseText);
    EXPECT_STREQ(SocketErrorText(10004),
                 "WSAEINTR: The (blocking) call was canceled through WSACancelBlockingCall");
    EXPECT_STREQ(SocketErrorText(10093), "WSANOTINITIALISED: Internal error");
    EXPECT_STREQ(SocketErrorText(12345), "Unrecognized error code 12345");
    EXPECT_STREQ(SocketErrorText(-7), "Unrecognized error code -7");
    // Neighbours of listed codes are not listed.
    EXPECT_STREQ(SocketErrorText(10005), "Unrecognized error code 10005");
}

TEST(SocketErrorText, EveryListedCodeNamesItsError)
{
    const std::pair<int, const char*> names[] = {
        {10004, "WSAEINTR:"},           {10014, "WSAEFAULT:"},        {10022, "WSAEINVAL:"},
        {10036, "WSAEINPROGRESS:"},     {10038, "WSAENOTSOCK:"},      {10040, "WSAEMSGSIZE:"},
        {10045, "WSAEOPNOTSUPP:"},      {10048, "WSAEADDRINUSE:"},    {10049, "WSAEADDRNOTAVAIL:"},
        {10050, "WSAENETDOWN:"},        {10052, "WSAENETRESET:"},     {10054, "WSAECONNRESET:"},
        {10055, "WSAENOBUFS:"},         {10056, "WSAEISCONN:"},       {10058, "WSAESHUTDOWN:"},
        {10060, "WSAETIMEDOUT:"},       {10067, "WSAEPROCLIM:"},      {10091, "WSASYSNOTREADY:"},
        {10092, "WSAVERNOTSUPPORTED:"}, {10093, "WSANOTINITIALISED:"}};
    for (auto [code, name] : names)
        EXPECT_EQ(std::string(SocketErrorText(code)).rfind(name, 0), 0u) << code;
}

TEST(SocketErrorText, ReportFillsTheFormat)
{
    RecordedMessages::Clear();
    VarnelSetMessageHandler(RecordedMessages::Handler);
    ReportSocketError("Socket error %s", 12345);
    VarnelSetMessageHandler(nullptr);
    ASSERT_EQ(RecordedMessages::Texts().size(), 1u);
    EXPECT_EQ(RecordedMessages::Texts()[0], "Socket error Unrecognized error code 12345");
}

int AnswerTwo(const char*)
{
    return 2;
}

TEST(MessageBox, HandlerIsInstalledReturnedAndRestored)
{
    EXPECT_EQ(VarnelSetMessageHandler(AnswerTwo), &ReportOnStandardError);
    EXPECT_EQ(VarnelMessageBox("question"), 2);
    EXPECT_EQ(VarnelSetMessageHandler(nullptr), &AnswerTwo);
    EXPECT_EQ(VarnelSetMessageHandler(nullptr), &ReportOnStandardError);
}

TEST(Version, MajorLowMinorHigh)
{
    EXPECT_EQ(VarnelVersion(), 36438018u);
    EXPECT_EQ(VarnelVersion() & 0xffffu, 2u);
    EXPECT_EQ(VarnelVersion() >> 16, 556u);
}

// A client compares the header it was built with against the library it runs with.
TEST(Version, HeaderMacrosDecodeFromVarnelVersion)
{
    EXPECT_EQ(VarnelVersion() & 0xffffu, uint32_t(VARNEL_VERSION_MAJOR));
    EXPECT_EQ(VarnelVersion() >> 16, uint32_t(VARNEL_VERSION_MINOR));
}
} // namespace
