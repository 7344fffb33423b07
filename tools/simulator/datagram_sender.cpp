#include "tools/simulator/datagram_sender.h"

#include "tools/cli/network_address.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>

namespace {
// The platform's error codes are Winsock-numbered, for the library's
// texts; the command prints the system's own reason, which errno still
// holds after the failed call.
std::string Failure(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}
} // namespace

std::string DatagramSender::Open(uint16_t localPort, uint32_t address, uint16_t port)
{
    Close();
    int errorCode = 0;
    socket = OpenUdpSocketAt(AnyIpv4Address, localPort, &errorCode);
    if (socket == InvalidSocket)
        return Failure("cannot bind source port " + std::to_string(localPort));
    sourcePort = BoundUdpPort(socket);
    destinationAddress = ntohl(address);
    destinationPort = port;
    // A missing route shows now rather than at the first frame.
    std::string error = CheckRoute(address, port);
    if (!error.empty())
        Close();
    return error;
}

void DatagramSender::Close()
{
    CloseUdpSocket(socket);
    socket = InvalidSocket;
    sourcePort = 0;
}

std::string DatagramSender::Send(const void* data, std::size_t size)
{
    int errorCode = 0;
    if (SendDatagram(socket, destinationAddress, destinationPort, data, size, &errorCode))
        return "";
    // Lost to full buffers, as on any busy network, or cut short by a stop
    // signal, which the run sees before the next frame.
    if (errno == ENOBUFS || errno == EINTR)
        return "";
    return Failure("cannot send");
}
