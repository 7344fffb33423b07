// A suit for benchmarks: a loopback socket on a source port of its own that
// sends well-formed datagrams to port 8000, once or at a steady rate.
#pragma once

#include "suit_packet.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

class LoopbackSuit {
  public:
    explicit LoopbackSuit(const char* name)
    {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
        packet[PacketLengthOffset] = SUIT_PACKET_SIZE;
        float rate = 120.0f;
        std::memcpy(&packet[PacketFrameRateOffset], &rate, sizeof rate);
        std::memcpy(&packet[PacketNameOffset], name, strnlen(name, SuitNameSize - 1));
    }
    ~LoopbackSuit()
    {
        Stop();
        close(fd);
    }

    void SendOnce()
    {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(SUIT_PORT);
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&target),
               sizeof target);
    }

    // Sends at framesPerSecond on a thread of its own until Stop.
    void Start(double framesPerSecond)
    {
        running = true;
        sender = std::thread([this, framesPerSecond] {
            auto period = std::chrono::duration<double>(1.0 / framesPerSecond);
            auto next = std::chrono::steady_clock::now();
            while (running) {
                SendOnce();
                next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
                std::this_thread::sleep_until(next);
            }
        });
    }
    void Stop()
    {
        running = false;
        if (sender.joinable())
            sender.join();
    }

  private:
    int fd = -1;
    std::array<uint8_t, SUIT_PACKET_SIZE> packet{};
    std::atomic<bool> running{false};
    std::thread sender;
};
