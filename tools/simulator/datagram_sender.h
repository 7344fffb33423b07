// The sending side of a simulated suit: a UDP socket bound to the suit's
// source port and connected to the computer that listens for suits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct Destination {
    std::string host;
    uint16_t port;
};

// Parses "HOST:PORT" (port 1..65535). Returns an empty text on success,
// otherwise what is wrong with it.
std::string ParseDestination(const std::string& text, Destination* destination);

// Resolves host to an IPv4 address in network byte order. Returns an empty
// text on success, otherwise the reason.
std::string ResolveIpv4(const std::string& host, uint32_t* address);

class DatagramSender {
  public:
    DatagramSender() = default;
    DatagramSender(const DatagramSender&) = delete;
    DatagramSender& operator=(const DatagramSender&) = delete;
    ~DatagramSender() { Close(); }

    // Binds sourcePort (0: any free port) and connects to the destination
    // (address in network byte order). Returns an empty text on success,
    // otherwise the reason.
    std::string Open(uint16_t sourcePort, uint32_t address, uint16_t port);
    void Close();
    // The bound source port, host byte order.
    uint16_t SourcePort() const { return sourcePort; }

    // Sends one datagram. Returns an empty text on success or when nobody
    // listens yet (a suit sends regardless), otherwise the reason.
    std::string Send(const void* data, std::size_t size);

  private:
    int socket = -1;
    uint16_t sourcePort = 0;
};
