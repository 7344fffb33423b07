// Sends solved frames as VMC bundles (one OSC bundle per frame) to one or
// more UDP targets from a thread of its own. The frame callback only hands
// frames over through a small queue that drops the oldest frame when it is
// full, so a slow or absent receiver never holds up capture.
#pragma once

#include "tools/cli/network_address.h"
#include "tools/stream/vmc_pose.h"
#include "varnel.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class VmcSender {
  public:
    VmcSender() = default;
    ~VmcSender();
    VmcSender(const VmcSender&) = delete;
    VmcSender& operator=(const VmcSender&) = delete;

    // Resolves the targets. Returns an empty text, otherwise what is wrong.
    std::string Open(const std::vector<Destination>& targets);
    // Sends the frames offered from now on, posed on the body's offsets,
    // until Stop. frameLimit: the frames to take at most (0: no limit).
    void Start(const Skeleton& body, uint64_t frameLimit);
    // Sends what is still queued and ends the thread.
    void Stop();

    // Takes a frame for sending. Cheap and never waits for the network:
    // for the library's frame callback.
    void Offer(const SkeletonFrame& frame);

    uint64_t Offered() const { return offered.load(); }   // frames taken
    uint64_t Sent() const { return sent.load(); }         // bundles sent to every target
    uint64_t Skipped() const { return skipped.load(); }   // dropped from a full queue
    uint64_t Failures() const { return failures.load(); } // sends that failed
    bool LimitReached() const { return limitReached.load(); }

  private:
    struct Queued {
        SkeletonFrame frame;
        int64_t at; // when it arrived, monotonic nanoseconds
    };
    // A few frames of slack for a sender thread that is late by a frame or
    // two; beyond that the newest frames are what a live receiver wants.
    static constexpr size_t Capacity = 4;

    void Run();
    void Send(const Queued& queued);

    std::vector<void*> addresses; // lo_address, one per target
    Skeleton body{};
    uint64_t frameLimit = 0;
    int64_t start = 0;

    std::mutex queueLock;
    std::condition_variable queueReady;
    std::array<Queued, Capacity> queue{};
    size_t head = 0, count = 0;
    bool running = false;
    bool stopping = false;
    std::thread thread;

    std::atomic<uint64_t> offered{0}, sent{0}, skipped{0}, failures{0};
    std::atomic<bool> limitReached{false};
    VmcPose pose{};
};
