// The sending side of a simulated suit: a UDP socket bound to the suit's
// source port, sending to the computer that listens for suits.
#pragma once

#include "platform/udp_socket.h"

#include <cstddef>
#include <cstdint>
#include <string>

class DatagramSender {
  public:
    DatagramSender() = default;
    DatagramSender(const DatagramSender&) = delete;
    DatagramSender& operator=(const DatagramSender&) = delete;
    ~DatagramSender() { Close(); }

    // Binds localPort (0: any free port) and checks that the destination
    // (address in network byte order, port) can be reached. Returns an empty
    // text on success, otherwise the reason.
    std::string Open(uint16_t localPort, uint32_t address, uint16_t port);
    void Close();
    // The bound source port, host byte order.
    uint16_t SourcePort() const { return sourcePort; }

    // Sends one datagram. Returns an empty text on success or when the
    // datagram is merely lost, otherwise the reason.
    std::string Send(const void* data, std::size_t size);

  private:
    int socket = InvalidSocket;
    uint16_t sourcePort = 0;
    uint32_t destinationAddress = 0; // host byte order
    uint16_t destinationPort = 0;
};
