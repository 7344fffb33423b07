// A loopback suit that numbers its datagrams and notes the CLOCK_MONOTONIC
// time just before each sendto, so that a frame callback can tell how long
// its datagram took. Datagram k carries counter k + CountedFirst; the suit's
// first counted datagram calibrates it, so frame counter k is datagram k.
#pragma once

#include "suitlink/suit_port.h"
#include "tests/support/loopback_socket.h"
#include "tests/support/suit_datagrams.h"
#include "varnel.h"

#include <time.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

inline int64_t MonotonicNanoseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class CountingSuit {
  public:
    static constexpr uint32_t CountedFirst = 1000;

    CountingSuit(const char* name, size_t capacity)
        : info(udp.Identity()), header(MakeSuitHeader(name, 120.0f)), capacity(capacity),
          sendTimes(new std::atomic<int64_t>[capacity])
    {
        Fill(0);
    }
    ~CountingSuit() { Stop(); }

    // One datagram for discovery, outside the count.
    void SendUncounted() { Send(); }

    // Sends at framesPerSecond on a thread of its own, after startDelay,
    // until Stop or until capacity datagrams are out.
    void Start(double framesPerSecond, std::chrono::nanoseconds startDelay)
    {
        running = true;
        sender = std::thread([this, framesPerSecond, startDelay] {
            auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(1.0 / framesPerSecond));
            auto next = std::chrono::steady_clock::now() + startDelay;
            std::this_thread::sleep_until(next);
            for (uint32_t k = 0; running && k < capacity; k++) {
                Fill(k);
                sendTimes[k].store(MonotonicNanoseconds());
                Send();
                sent.store(k + 1);
                next += period;
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

    // Address and port, as the suit table knows this suit.
    const SuitInfo& Info() const { return info; }
    uint32_t Sent() const { return sent.load(); }
    // The time datagram k left, or -1 for one never sent.
    int64_t SendTime(uint32_t k) const { return k < sent.load() ? sendTimes[k].load() : -1; }

  private:
    // The legs swing slowly, so every frame solves different angles.
    void Fill(uint32_t k)
    {
        int swing = int(std::lround(150.0 * std::sin(k * 0.05)));
        EncodeSuitDatagram(header, StandingReadings(swing), k + CountedFirst, packet);
    }
    void Send() const { udp.SendTo(SuitPort(), packet.data(), packet.size()); }

    LoopbackSocket udp;
    const SuitInfo info;
    const SuitHeader header;
    const size_t capacity;
    std::unique_ptr<std::atomic<int64_t>[]> sendTimes;
    SuitDatagram packet{};
    std::atomic<uint32_t> sent{0};
    std::atomic<bool> running{false};
    std::thread sender;
};
