#include "tools/cli/network_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

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

std::string SuitAddress(const SuitInfo& suit)
{
    char text[INET_ADDRSTRLEN] = "?";
    in_addr address{};
    address.s_addr = suit.address;
    inet_ntop(AF_INET, &address, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(suit.port));
}
