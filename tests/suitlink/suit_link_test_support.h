// Test suits on the loopback network, a recording message handler, a fake
// clock and a fixture that brings the library up and down around each test.
#pragma once

#include "common/suit_datagram.h"
#include "platform/clock.h"
#include "suitlink/library_state.h"
#include "varnel.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using SuitPacket = std::array<uint8_t, SUIT_PACKET_SIZE>;

// A well-formed datagram; the raw block is filled with a pattern that starts
// at rawSeed so that two packets are easy to tell apart.
inline SuitPacket MakePacket(const char* name, float frameRate = 60.0f, uint16_t flags = 0,
                             uint8_t rawSeed = 1)
{
    SuitPacket packet{};
    packet[PacketLengthOffset] = SUIT_PACKET_SIZE & 0xff;
    packet[PacketLengthOffset + 1] = SUIT_PACKET_SIZE >> 8;
    packet[PacketFlagsOffset] = uint8_t(flags);
    packet[PacketFlagsOffset + 1] = uint8_t(flags >> 8);
    std::memcpy(&packet[PacketFrameRateOffset], &frameRate, sizeof frameRate);
    std::memcpy(&packet[PacketNameOffset], name, strnlen(name, SuitNameSize));
    for (size_t i = 0; i < SuitRawSize; i++)
        packet[PacketRawOffset + i] = uint8_t(rawSeed + i * 7);
    return packet;
}

// A suit: a UDP socket bound to a loopback address and source port (0: any)
// that sends to port 8000 on 127.0.0.1.
class TestSuit {
  public:
    explicit TestSuit(const char* address = "127.0.0.1", uint16_t port = 0)
    {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        inet_pton(AF_INET, address, &local.sin_addr);
        bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
        socklen_t length = sizeof local;
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
        info.address = local.sin_addr.s_addr;
        info.port = local.sin_port;
    }
    ~TestSuit() { close(fd); }
    TestSuit(const TestSuit&) = delete;
    TestSuit& operator=(const TestSuit&) = delete;

    bool Bound() const { return bound; }
    // The identity the library should give this suit (address and port).
    const SuitInfo& Info() const { return info; }

    void Send(const void* bytes, size_t size) const
    {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(SUIT_PORT);
        target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ssize_t sent =
            sendto(fd, bytes, size, 0, reinterpret_cast<sockaddr*>(&target), sizeof target);
        EXPECT_EQ(sent, ssize_t(size));
    }
    void Send(const SuitPacket& packet) const { Send(packet.data(), packet.size()); }

  private:
    int fd = -1;
    bool bound = false;
    SuitInfo info{};
};

// Runs VarnelFindSuits while each suit keeps sending its packet, as real
// suits do. Needed once a receive thread runs: it would drain datagrams sent
// before the call.
inline int FindSuitsWhileSending(const std::vector<std::pair<const TestSuit*, SuitPacket>>& suits)
{
    std::atomic<bool> listening{true};
    std::thread sender([&] {
        while (listening) {
            for (const auto& [suit, packet] : suits)
                suit->Send(packet);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    int found = VarnelFindSuits();
    listening = false;
    sender.join();
    return found;
}

// Records every text the library reports.
class RecordedMessages {
  public:
    static int Handler(const char* text)
    {
        std::lock_guard hold(mutex);
        texts.emplace_back(text);
        return 1;
    }
    static std::vector<std::string> Texts()
    {
        std::lock_guard hold(mutex);
        return texts;
    }
    static void Clear()
    {
        std::lock_guard hold(mutex);
        texts.clear();
    }

  private:
    static inline std::mutex mutex;
    static inline std::vector<std::string> texts;
};

// A millisecond clock that only moves when the test says so.
class FakeClock {
  public:
    static void Install(uint32_t start)
    {
        now.store(start);
        SetClockSourceForTesting(Read);
    }
    static void Set(uint32_t milliseconds) { now.store(milliseconds); }
    static uint32_t Now() { return now.load(); }

  private:
    static uint32_t Read() { return now.load(); }
    static inline std::atomic<uint32_t> now{0};
};

// Polls condition until it holds or the limit passes; the limit only bounds a
// failing test.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Lets the receive thread run a good number of passes.
inline void LetReceiverRun()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

inline SuitSlot* Slot(int index)
{
    return &library.suitTable[index];
}

// Raw block of a slot, read under the lock like the receive thread writes it.
inline std::array<uint8_t, SuitRawSize> RawOf(const SuitSlot* slot)
{
    std::array<uint8_t, SuitRawSize> raw;
    std::lock_guard hold(library.LibraryLock);
    std::memcpy(raw.data(), slot->raw, SuitRawSize);
    return raw;
}

inline std::array<uint8_t, SuitRawSize> RawOf(const SuitPacket& packet)
{
    std::array<uint8_t, SuitRawSize> raw;
    std::memcpy(raw.data(), &packet[PacketRawOffset], SuitRawSize);
    return raw;
}

// Whether a call running on a helper thread ends within the limit, so that
// a hang fails the test instead of blocking the run.
inline bool ReturnsWithin(std::future<void>& call,
                          std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    if (call.wait_for(limit) == std::future_status::ready)
        return true;
    // Leave the hung call behind; the process ends with the failure.
    new auto(std::move(call));
    return false;
}

inline bool FinishReturns(std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    auto finished = std::async(std::launch::async, [] { VarnelFinish(); });
    return ReturnsWithin(finished, limit);
}

class SuitLinkTest : public testing::Test {
  protected:
    void SetUp() override
    {
        RecordedMessages::Clear();
        VarnelSetMessageHandler(RecordedMessages::Handler);
        ASSERT_EQ(VarnelInit(), 1);
    }
    void TearDown() override
    {
        VarnelFinish();
        SetClockSourceForTesting(nullptr);
        VarnelSetMessageHandler(nullptr);
    }
};
