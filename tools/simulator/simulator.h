// One or more simulated suits sending their datagrams on a fixed schedule.
#pragma once

#include "common/suit_datagram.h"
#include "tools/cli/network_address.h"
#include "tools/simulator/datagram_sender.h"
#include "tools/simulator/motion_source.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

constexpr int MaximumSimulatedSuits = 100;
constexpr int MaximumBurst = 1000;
constexpr double MaximumSimulatedRate = 10000.0;

struct SimulateOptions {
    Destination destination{"127.0.0.1", 8000};
    uint16_t sourcePort = 0; // 0: any free port
    std::string name = "Simulated suit";
    double rate = 60.0;
    bool positionSensor = false;
    uint64_t frames = 0;  // 0: no frame limit
    double seconds = 0.0; // 0: no time limit
    bool jitter = false;
    int burst = 1;
    int suits = 1;
    std::string bvhPath;    // empty: the built-in walk
    std::string rawPath;    // a raw take to replay instead of any motion
    bool rateGiven = false; // else a take plays at its own frame rate
    bool loop = false;
    // In the null pose before the motion: long enough for `varnel record`
    // started at once to find the suit, count down and see it hold still.
    double leadInSeconds = 6.0;
};

// The name suit `suit` of `suits` carries: the name itself for a single
// suit, else the name with " 1", " 2" ... appended, the name shortened so
// that the whole still fits in 15 bytes and the suits stay distinguishable.
std::string SimulatedSuitName(const std::string& name, int suit, int suits);

struct SimulationSummary {
    uint64_t frames = 0;    // schedule ticks completed
    uint64_t datagrams = 0; // over all suits and bursts
    double seconds = 0.0;
    std::string error; // empty unless sending failed
};

class Simulator {
  public:
    // Resolves the destination and binds every suit's source port. Returns
    // an empty text on success, otherwise the reason.
    std::string Open(const SimulateOptions& options);
    uint16_t SourcePort(int suit) const { return senders[suit].SourcePort(); }

    // Sends frames until the frame or time limit or the end of the motion,
    // until stopRequested is set (checked before every frame and after every
    // interrupted sleep) or until sending fails.
    SimulationSummary Run(MotionSource& motion, const std::atomic<bool>& stopRequested);

  private:
    std::string BindConsecutivePorts(uint32_t address);
    // The frames to send: the options' limit, or the motion's end if sooner.
    uint64_t FrameLimit(const MotionSource& motion) const;
    // One frame of every suit, each sent options.burst times.
    void SendFrame(MotionSource& motion, uint64_t frame, SimulationSummary& summary);
    void AddJitter(SuitReadings& readings);

    SimulateOptions options;
    std::unique_ptr<DatagramSender[]> senders;
    std::unique_ptr<SuitHeader[]> headers;
    std::unique_ptr<uint32_t[]> counters;
    uint32_t jitterState = 1;
};
