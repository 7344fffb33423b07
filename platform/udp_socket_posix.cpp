#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
sockaddr_in Ipv4SocketAddress(uint32_t address, uint16_t port)
{
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    socketAddress.sin_port = htons(port);
    return socketAddress;
}
} // namespace

int OpenUdpSocket(uint16_t port, int* errorCode, SocketStep* failedStep)
{
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        *failedStep = SocketStep::Create;
        return InvalidSocket;
    }
    sockaddr_in local = Ipv4SocketAddress(INADDR_ANY, port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        *failedStep = SocketStep::Bind;
        close(fd);
        return InvalidSocket;
    }
    int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        *failedStep = SocketStep::NonBlocking;
        close(fd);
        return InvalidSocket;
    }
    return fd;
}

void CloseUdpSocket(int socket)
{
    if (socket != InvalidSocket)
        close(socket);
}

int OpenUdpSocketAt(uint32_t address, uint16_t port, int* errorCode)
{
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        return InvalidSocket;
    }
    sockaddr_in local = Ipv4SocketAddress(address, port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        close(fd);
        return InvalidSocket;
    }
    return fd;
}

uint16_t BoundUdpPort(int socket)
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

bool SendDatagram(int socket, uint32_t address, uint16_t port, const void* bytes, size_t size,
                  int* errorCode)
{
    sockaddr_in target = Ipv4SocketAddress(address, port);
    ssize_t sent =
        sendto(socket, bytes, size, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target);
    if (sent < 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        return false;
    }
    return true; // a datagram goes out whole or not at all
}

ReceiveStatus ReceiveDatagram(int socket, void* buffer, int capacity, ReceivedDatagram* datagram,
                              int* errorCode)
{
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    // MSG_TRUNC makes recvfrom return the real length, so oversize datagrams
    // are recognised instead of silently cut.
    ssize_t length = recvfrom(socket, buffer, size_t(capacity), MSG_TRUNC,
                              reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (length < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return ReceiveStatus::WouldBlock;
        *errorCode = SocketErrorCodeFromErrno(errno);
        return ReceiveStatus::Error;
    }
    datagram->truncated = length > capacity;
    datagram->length = datagram->truncated ? capacity : int(length);
    datagram->address = sender.sin_addr.s_addr;
    datagram->port = sender.sin_port;
    return ReceiveStatus::Datagram;
}

bool WaitReadable(int socket, int timeoutMilliseconds)
{
    pollfd watch{socket, POLLIN, 0};
    int result = poll(&watch, 1, timeoutMilliseconds < 0 ? 0 : timeoutMilliseconds);
    return result > 0;
}
