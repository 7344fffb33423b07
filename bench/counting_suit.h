// A loopback suit that numbers its datagrams and notes the CLOCK_MONOTONIC
// time just before each sendto, so that a frame callback can tell how long
// its datagram took. Datagram k carries counter k + CountedFirst; the suit's
// first counted datagram calibrates it, so frame counter k is datagram k.
#pragma once

#include "loopback_sender.h"
#include "varnel.h"

#include <time.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
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
        : capacity(capacity), sendTimes(new std::atomic<int64_t>[capacity])
    {
        sockaddr_in source = udp.Source();
        info.address = source.sin_addr.s_addr;
        info.port = source.sin_port;
        WriteSuitHeader(packet, name);
        const float sensors[6] = {5.0f, -7.0f, 100.0f, 0.3f, 1.2f, 0.9f};
        std::memcpy(&packet[PacketRawOffset + RawOrientationOffset], sensors, sizeof sensors);
        Fill(0);
    }
    ~CountingSuit() { Stop(); }

    // One datagram for discovery, outside the count.
    void SendUncounted() { udp.Send(packet); }

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
                udp.Send(packet);
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
        for (int i = 0; i < 48; i++) {
            uint16_t counts = uint16_t(2000 + 13 * i + swing);
            packet[PacketRawOffset + 2 * i] = uint8_t(counts);
            packet[PacketRawOffset + 2 * i + 1] = uint8_t(counts >> 8);
        }
        uint32_t counter = k + CountedFirst;
        std::memcpy(&packet[PacketRawOffset + RawCounterOffset], &counter, sizeof counter);
    }

    LoopbackSender udp;
    SuitInfo info{};
    const size_t capacity;
    std::unique_ptr<std::atomic<int64_t>[]> sendTimes;
    SuitDatagram packet{};
    std::atomic<uint32_t> sent{0};
    std::atomic<bool> running{false};
    std::thread sender;
};
