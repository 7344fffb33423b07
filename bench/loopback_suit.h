// A suit for benchmarks: a loopback socket on a source port of its own that
// sends well-formed datagrams to the suit port, once or at a steady rate.
#pragma once

#include "suitlink/suit_port.h"
#include "tests/support/loopback_socket.h"
#include "tests/support/suit_datagrams.h"

#include <atomic>
#include <chrono>
#include <thread>

class LoopbackSuit {
  public:
    explicit LoopbackSuit(const char* name)
        : packet(MakeSuitDatagram(MakeSuitHeader(name, 120.0f), SuitReadings{}, 0))
    {
    }
    ~LoopbackSuit() { Stop(); }

    void SendOnce() { udp.SendTo(SuitPort(), packet.data(), packet.size()); }

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
    LoopbackSocket udp;
    const SuitDatagram packet;
    std::atomic<bool> running{false};
    std::thread sender;
};
