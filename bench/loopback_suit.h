// A suit for benchmarks: a loopback socket on a source port of its own that
// sends well-formed datagrams to port 8000, once or at a steady rate.
#pragma once

#include "loopback_sender.h"

#include <atomic>
#include <chrono>
#include <thread>

class LoopbackSuit {
  public:
    explicit LoopbackSuit(const char* name) { WriteSuitHeader(packet, name); }
    ~LoopbackSuit() { Stop(); }

    void SendOnce() { udp.Send(packet); }

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
    LoopbackSender udp;
    SuitDatagram packet{};
    std::atomic<bool> running{false};
    std::thread sender;
};
