// Test suits on the loopback network, a recording message handler, a fake
// clock and a fixture that brings the library up and down around each test.
#pragma once

#include "common/suit_datagram.h"
#include "platform/clock.h"
#include "suitlink/library_state.h"
#include "tests/support/loopback_socket.h"
#include "tests/support/own_suit_port.h"
#include "tests/support/suit_datagrams.h"
#include "varnel.h"

#include <gtest/gtest.h>

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

// A well-formed datagram; its readings follow a pattern that starts at
// rawSeed, so that two datagrams are easy to tell apart. Seeds one apart
// differ by far more than the one count the solver's flicker filter holds.
inline SuitDatagram MakePacket(const char* name, float frameRate = 60.0f, uint16_t flags = 0,
                               uint8_t rawSeed = 1)
{
    SuitReadings readings;
    for (int i = 0; i < SuitChannelCount; i++)
        readings.channels[i] = uint16_t(100 * rawSeed + 7 * i);
    return MakeSuitDatagram(MakeSuitHeader(name, frameRate, flags), readings, rawSeed);
}

// A suit: a socket on a loopback address and source port (0: any) of its
// own that sends to the library's suit port.
class TestSuit : public LoopbackSocket {
  public:
    explicit TestSuit(uint32_t address = LoopbackIpv4Address, uint16_t port = 0)
        : LoopbackSocket(address, port), info(Identity())
    {
    }

    // The identity the library should give this suit (address and port).
    const SuitInfo& Info() const { return info; }

    void Send(const void* bytes, size_t size) const
    {
        EXPECT_TRUE(SendTo(SuitPort(), bytes, size));
    }
    void Send(const SuitDatagram& packet) const { Send(packet.data(), packet.size()); }

  private:
    SuitInfo info;
};

// Runs VarnelFindSuits while each suit keeps sending its packet, as real
// suits do. Needed once a receive thread runs: it would drain datagrams sent
// before the call.
inline int FindSuitsWhileSending(const std::vector<std::pair<const TestSuit*, SuitDatagram>>& suits)
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
inline SuitRawBlock RawOf(const SuitSlot* slot)
{
    SuitRawBlock raw;
    std::lock_guard hold(library.LibraryLock);
    std::memcpy(raw.data(), slot->raw, SuitRawSize);
    return raw;
}

inline SuitRawBlock RawOf(const SuitDatagram& packet)
{
    SuitRawBlock raw;
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
