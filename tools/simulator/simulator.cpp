#include "tools/simulator/simulator.h"

#include "tools/cli/monotonic_clock.h"
#include "tools/simulator/frame_schedule.h"
#include "varnel.h"

#include <cstdint>
#include <limits>

namespace {
constexpr std::size_t NameLimit = SuitNameSize - 1;
constexpr int PortSearchAttempts = 50;

bool IsUtf8Continuation(char byte)
{
    return (uint8_t(byte) & 0xc0) == 0x80;
}

// Waits for a frame's due time. False when a stop was asked for.
bool WaitUntilDue(int64_t due, const std::atomic<bool>& stopRequested)
{
    while (!stopRequested.load()) {
        if (SleepUntil(due))
            return !stopRequested.load();
    }
    return false;
}
} // namespace

std::string SimulatedSuitName(const std::string& name, int suit, int suits)
{
    if (suits <= 1)
        return name;
    std::string suffix(1, ' ');
    suffix += std::to_string(suit + 1);
    std::string base = name;
    if (base.size() + suffix.size() > NameLimit) {
        std::size_t keep = NameLimit - suffix.size();
        // Never cut a character of a multi-byte name in half.
        while (keep > 0 && IsUtf8Continuation(base[keep]))
            keep--;
        base.resize(keep);
        while (!base.empty() && base.back() == ' ')
            base.pop_back();
    }
    return base + suffix;
}

std::string Simulator::Open(const SimulateOptions& chosen)
{
    options = chosen;
    uint32_t address;
    std::string error = ResolveIpv4(options.destination.host, &address);
    if (!error.empty())
        return error;
    senders = std::make_unique<DatagramSender[]>(options.suits);
    headers = std::make_unique<SuitHeader[]>(options.suits);
    counters = std::make_unique<uint32_t[]>(options.suits);
    for (int suit = 0; suit < options.suits; suit++) {
        headers[suit].flags = options.positionSensor ? SUIT_HAS_POSITION_SENSOR : 0;
        headers[suit].frameRate = float(options.rate);
        SetSuitName(headers[suit], SimulatedSuitName(options.name, suit, options.suits).c_str());
        counters[suit] = 0;
    }
    return BindConsecutivePorts(address);
}

std::string Simulator::BindConsecutivePorts(uint32_t address)
{
    const uint16_t destinationPort = options.destination.port;
    if (options.sourcePort != 0) {
        for (int suit = 0; suit < options.suits; suit++) {
            std::string error =
                senders[suit].Open(uint16_t(options.sourcePort + suit), address, destinationPort);
            if (!error.empty())
                return error;
        }
        return "";
    }
    // Any free port for the first suit; the others need the ports right
    // after it, so start over elsewhere when one of those is taken.
    std::string error;
    for (int attempt = 0; attempt < PortSearchAttempts; attempt++) {
        error = senders[0].Open(0, address, destinationPort);
        if (!error.empty())
            return error;
        int first = senders[0].SourcePort();
        int suit = 1;
        while (suit < options.suits && first + suit <= 65535 &&
               senders[suit].Open(uint16_t(first + suit), address, destinationPort).empty())
            suit++;
        if (suit == options.suits)
            return "";
        for (int opened = 0; opened < suit; opened++)
            senders[opened].Close();
    }
    return "cannot find " + std::to_string(options.suits) + " free consecutive source ports";
}

void Simulator::AddJitter(SuitReadings& readings)
{
    for (uint16_t& channel : readings.channels) {
        // xorshift32: cheap, allocation-free and plenty for a flicker.
        jitterState ^= jitterState << 13;
        jitterState ^= jitterState >> 17;
        jitterState ^= jitterState << 5;
        int step = int(jitterState % 3) - 1;
        int value = channel + step;
        if (value >= 0 && value <= SuitChannelMaximum)
            channel = uint16_t(value);
    }
}

uint64_t Simulator::FrameLimit(const MotionSource& motion) const
{
    uint64_t frameLimit = std::numeric_limits<uint64_t>::max();
    if (options.frames > 0)
        frameLimit = options.frames;
    else if (options.seconds > 0.0)
        frameLimit = FramesInSeconds(options.seconds, options.rate);
    if (motion.FrameCount() > 0 && motion.FrameCount() < frameLimit)
        frameLimit = motion.FrameCount();
    return frameLimit;
}

void Simulator::SendFrame(MotionSource& motion, uint64_t frame, SimulationSummary& summary)
{
    SuitReadings readings;
    SuitDatagram datagram;
    for (int suit = 0; suit < options.suits && summary.error.empty(); suit++) {
        motion.FillReadings(suit, frame, readings);
        if (options.jitter)
            AddJitter(readings);
        // A burst carries consecutive counters, like frames of a suit
        // that reached the network late and all at once.
        for (int copy = 0; copy < options.burst && summary.error.empty(); copy++) {
            EncodeSuitDatagram(headers[suit], readings, counters[suit]++, datagram);
            summary.error = senders[suit].Send(datagram.data(), datagram.size());
            if (summary.error.empty())
                summary.datagrams++;
        }
    }
}

SimulationSummary Simulator::Run(MotionSource& motion, const std::atomic<bool>& stopRequested)
{
    SimulationSummary summary;
    const uint64_t frameLimit = FrameLimit(motion);
    const int64_t start = MonotonicNanoseconds();
    const FrameSchedule schedule(start, options.rate);
    bool stopped = false;
    for (uint64_t frame = 0; frame < frameLimit && summary.error.empty(); frame++) {
        if (!WaitUntilDue(schedule.DueTime(frame), stopRequested)) {
            stopped = true;
            break;
        }
        SendFrame(motion, frame, summary);
        if (summary.error.empty())
            summary.frames++;
    }
    // The last frame lasts a whole period, so N frames take N / rate seconds.
    if (!stopped && summary.error.empty())
        WaitUntilDue(schedule.DueTime(summary.frames), stopRequested);
    summary.seconds = double(MonotonicNanoseconds() - start) / NanosecondsPerSecond;
    return summary;
}
