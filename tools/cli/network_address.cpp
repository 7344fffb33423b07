#include "tools/cli/network_address.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

std::string ParseDestination(const std::string& text, Destination* destination)
{
    std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
        return "expected HOST:PORT, got \"" + text + "\"";
    std::string portText = text.substr(colon + 1);
    if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string::npos)
        return "port \"" + portText + "\" is not a number from 1 to 65535";
    unsigned long port = std::stoul(portText);
    if (port < 1 || port > 65535)
        return "port \"" + portText + "\" is not a number from 1 to 65535";
    destination->host = text.substr(0, colon);
    destination->port = uint16_t(port);
    return "";
}

std::string ResolveIpv4(const std::string& host, uint32_t* address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    int status = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (status != 0)
        return "cannot resolve \"" + host + "\": " + gai_strerror(status);
    *address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return "";
}

std::string CheckRoute(uint32_t address, uint16_t port)
{
    // Connecting a UDP socket only looks the route up.
    int probe = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = address;
    remote.sin_port = htons(port);
    int error = 0;
    if (probe < 0 || connect(probe, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0)
        error = errno;
    if (probe >= 0)
        close(probe);
    if (error == 0)
        return "";
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, text, sizeof text);
    return "cannot reach " + std::string(text) + ":" + std::to_string(port) + ": " +
           std::strerror(error);
}

std::string SuitAddress(const SuitInfo& suit)
{
    char text[INET_ADDRSTRLEN] = "?";
    in_addr address{};
    address.s_addr = suit.address;
    inet_ntop(AF_INET, &address, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(suit.port));
}
