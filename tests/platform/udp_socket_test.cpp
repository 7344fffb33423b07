#include "platform/udp_socket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace {
// A receiving socket from the platform on a free loopback port, and a plain
// sender bound to a free port of its own.
class UdpSocketTest : public testing::Test {
  protected:
    void SetUp() override
    {
        int errorCode = 0;
        SocketStep step;
        receiver = OpenUdpSocket(0, &errorCode, &step);
        ASSERT_NE(receiver, InvalidSocket);
        receiverPort = LocalPort(receiver);

        sender = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(bind(sender, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
        senderPort = LocalPort(sender);
    }
    void TearDown() override
    {
        CloseUdpSocket(receiver);
        close(sender);
    }
    static uint16_t LocalPort(int fd)
    {
        sockaddr_in local{};
        socklen_t length = sizeof local;
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
        return local.sin_port;
    }
    void Send(size_t size, uint8_t fill)
    {
        std::vector<uint8_t> bytes(size, fill);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        target.sin_port = receiverPort;
        ASSERT_EQ(sendto(sender, bytes.data(), size, 0, reinterpret_cast<sockaddr*>(&target),
                         sizeof target),
                  ssize_t(size));
    }

    int receiver = InvalidSocket;
    int sender = -1;
    uint16_t receiverPort = 0, senderPort = 0;
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
    EXPECT_EQ(OpenUdpSocket(ntohs(receiverPort), &errorCode, &step), InvalidSocket);
    EXPECT_EQ(step, SocketStep::Bind);
    EXPECT_EQ(errorCode, 10048);
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
