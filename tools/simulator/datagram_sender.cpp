#include "tools/simulator/datagram_sender.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
std::string ErrnoText(const char* what, int error)
{
    return std::string(what) + ": " + std::strerror(error);
}
} // namespace

std::string DatagramSender::Open(uint16_t port, uint32_t address, uint16_t destinationPort)
{
    Close();
    socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return ErrnoText("cannot create a UDP socket", errno);
    std::string error = Bind(port);
    if (error.empty())
        error = Connect(address, destinationPort);
    if (!error.empty())
        Close();
    return error;
}

std::string DatagramSender::Bind(uint16_t port)
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
    if (bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        int error = errno;
        return ErrnoText(("cannot bind source port " + std::to_string(port)).c_str(), error);
    }
    socklen_t localLength = sizeof local;
    getsockname(socket, reinterpret_cast<sockaddr*>(&local), &localLength);
    sourcePort = ntohs(local.sin_port);
    return "";
}

// Connecting finds a missing route now rather than at the first frame.
std::string DatagramSender::Connect(uint32_t address, uint16_t destinationPort)
{
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = address;
    remote.sin_port = htons(destinationPort);
    if (connect(socket, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0)
        return "";
    int error = errno;
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, text, sizeof text);
    return ErrnoText(
        ("cannot reach " + std::string(text) + ":" + std::to_string(destinationPort)).c_str(),
        error);
}

void DatagramSender::Close()
{
    if (socket >= 0)
        close(socket);
    socket = -1;
    sourcePort = 0;
}

std::string DatagramSender::Send(const void* data, std::size_t size)
{
    if (send(socket, data, size, 0) >= 0)
        return "";
    int error = errno;
    // Refused: the port has no listener yet (an earlier datagram bounced).
    // No buffer space: the datagram is lost, as on any busy network.
    if (error == ECONNREFUSED || error == ENOBUFS || error == EINTR)
        return "";
    return ErrnoText("cannot send", error);
}
