#include "platform/udp_socket.h"
#include "tests/support/loopback_socket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>

#include <vector>

namespace {
// A receiving socket from the platform on a free port, and a sender bound to
// a free loopback port of its own.
class UdpSocketTest : public testing::Test {
  protected:
    void SetUp() override
    {
        int errorCode = 0;
        SocketStep step;
        receiver = OpenUdpSocket(0, &errorCode, &step);
        ASSERT_NE(receiver, InvalidSocket);
        receiverPort = BoundUdpPort(receiver);
        ASSERT_TRUE(sender.Bound());
        senderPort = sender.Identity().port;
    }
    void TearDown() override { CloseUdpSocket(receiver); }
    void Send(size_t size, uint8_t fill)
    {
        std::vector<uint8_t> bytes(size, fill);
        ASSERT_TRUE(sender.SendTo(receiverPort, bytes.data(), size));
    }

    int receiver = InvalidSocket;
    uint16_t receiverPort = 0; // host order
    LoopbackSocket sender;
    uint16_t senderPort = 0; // network order, as ReceivedDatagram gives it
};

TEST_F(UdpSocketTest, WouldBlockUntilADatagramWaits)
{
    uint8_t buffer[152];
    ReceivedDatagram datagram;
    int errorCode = 0;
    EXPECT_FALSE(WaitReadable(receiver, 0));
    EXPECT_FALSE(WaitReadable(receiver, 2));
    EXPECT_EQ(ReceiveDatagram(receiver, buffer, sizeof buffer, &datagram, &errorCode),
              ReceiveStatus::WouldBlock);

    Send(152, 7);
    EXPECT_TRUE(WaitReadable(receiver, 5000));
    ASSERT_EQ(ReceiveDatagram(receiver, buffer, sizeof buffer, &datagram, &errorCode),
              ReceiveStatus::Datagram);
    EXPECT_EQ(datagram.length, 152);
    EXPECT_FALSE(datagram.truncated);
    EXPECT_EQ(datagram.address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(datagram.port, senderPort);
    EXPECT_EQ(buffer[151], 7);
}

TEST_F(UdpSocketTest, OversizeIsFlaggedAndItsTailDiscarded)
{
    Send(2000, 1);
    Send(0, 0);
    Send(100, 3);
    uint8_t buffer[152];
    ReceivedDatagram datagram;
    int errorCode = 0;
    ASSERT_TRUE(WaitReadable(receiver, 5000));
    ASSERT_EQ(ReceiveDatagram(receiver, buffer, sizeof buffer, &datagram, &errorCode),
              ReceiveStatus::Datagram);
    EXPECT_TRUE(datagram.truncated);
    EXPECT_EQ(datagram.length, 152);

    ASSERT_EQ(ReceiveDatagram(receiver, buffer, sizeof buffer, &datagram, &errorCode),
              ReceiveStatus::Datagram);
    EXPECT_EQ(datagram.length, 0);
    EXPECT_FALSE(datagram.truncated);

    ASSERT_EQ(ReceiveDatagram(receiver, buffer, sizeof buffer, &datagram, &errorCode),
              ReceiveStatus::Datagram);
    EXPECT_EQ(datagram.length, 100);
    EXPECT_FALSE(datagram.truncated);
}

TEST_F(UdpSocketTest, PortInUseFailsAtBindWithItsWinsockCode)
{
    int errorCode = 0;
    SocketStep step = SocketStep::Create;
    EXPECT_EQ(OpenUdpSocket(receiverPort, &errorCode, &step), InvalidSocket);
    EXPECT_EQ(step, SocketStep::Bind);
    EXPECT_EQ(errorCode, 10048);
}

TEST_F(UdpSocketTest, SendingSideReportsWhatFails)
{
    int errorCode = 0;
    EXPECT_EQ(OpenUdpSocketAt(AnyIpv4Address, receiverPort, &errorCode), InvalidSocket);
    EXPECT_EQ(errorCode, 10048);

    // Longer than any IPv4 datagram.
    std::vector<uint8_t> huge(70000);
    int sending = OpenUdpSocketAt(LoopbackIpv4Address, 0, &errorCode);
    ASSERT_NE(sending, InvalidSocket);
    EXPECT_NE(BoundUdpPort(sending), 0);
    EXPECT_FALSE(SendDatagram(sending, LoopbackIpv4Address, receiverPort, huge.data(), huge.size(),
                              &errorCode));
    EXPECT_EQ(errorCode, 10040);
    CloseUdpSocket(sending);
}

TEST(SocketErrorCode, ErrnoMapsToWinsockNumbers)
{
    EXPECT_EQ(SocketErrorCodeFromErrno(EMSGSIZE), 10040);
    EXPECT_EQ(SocketErrorCodeFromErrno(EADDRINUSE), 10048);
    EXPECT_EQ(SocketErrorCodeFromErrno(ENOTSOCK), 10038);
    // Unmatched values come back as they are.
    EXPECT_EQ(SocketErrorCodeFromErrno(EDOM), EDOM);
}
} // namespace
