#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

int OpenUdpSocket(uint16_t port, int* errorCode, SocketStep* failedStep)
{
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *errorCode = SocketErrorCodeFromErrno(errno);
        *failedStep = SocketStep::Create;
        return InvalidSocket;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(port);
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
