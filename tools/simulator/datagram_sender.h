// The sending side of a simulated suit: a UDP socket bound to the suit's
// source port and connected to the computer that listens for suits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
    std::string Bind(uint16_t port);
    std::string Connect(uint32_t address, uint16_t destinationPort);

    int socket = -1;
    uint16_t sourcePort = 0;
};
