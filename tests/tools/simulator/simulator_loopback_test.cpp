#include "tests/tools/simulator/loopback_listener.h"
#include "tools/simulator/simulator.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <map>
#include <pthread.h>
#include <thread>

namespace {
TEST(SimulatorLoopback, SendsEachFrameOnceWithRisingCounters)
{
    Listener listener;
    SimulateOptions options = FastOptions(listener);
    options.frames = 5;
    options.positionSensor = true;
    Simulator simulator;
    ASSERT_EQ(simulator.Open(options), "");
    WalkingMotion motion(options.rate, 0);
    std::atomic<bool> stop{false};
    SimulationSummary summary = simulator.Run(motion, stop);
    EXPECT_EQ(summary.error, "");
    EXPECT_EQ(summary.frames, 5u);
    EXPECT_EQ(summary.datagrams, 5u);

    std::vector<Received> received = listener.Drain();
    ASSERT_EQ(received.size(), 5u);
    for (uint32_t frame = 0; frame < received.size(); frame++) {
        const Received& datagram = received[frame];
        ASSERT_EQ(datagram.bytes.size(), 152u);
        EXPECT_EQ(datagram.Counter(), frame);
        EXPECT_EQ(datagram.Name(), "Simulated suit");
        EXPECT_EQ(datagram.Flags(), SUIT_HAS_POSITION_SENSOR);
        EXPECT_EQ(datagram.sourcePort, simulator.SourcePort(0));
    }
    // The readings move from frame to frame.
    EXPECT_NE(std::memcmp(received[0].Readings(), received[4].Readings(), RawCounterOffset), 0);
}

TEST(SimulatorLoopback, BurstsAndSeveralSuitsOnConsecutivePorts)
{
    Listener listener;
    SimulateOptions options = FastOptions(listener);
    options.frames = 4;
    options.burst = 3;
    options.suits = 2;
    options.jitter = true;
    Simulator simulator;
    ASSERT_EQ(simulator.Open(options), "");
    EXPECT_EQ(simulator.SourcePort(1), simulator.SourcePort(0) + 1);
    WalkingMotion motion(options.rate, 0);
    std::atomic<bool> stop{false};
    SimulationSummary summary = simulator.Run(motion, stop);
    EXPECT_EQ(summary.frames, 4u);
    EXPECT_EQ(summary.datagrams, 24u);

    std::map<uint16_t, std::vector<Received>> bySuit;
    for (Received& datagram : listener.Drain())
        bySuit[datagram.sourcePort].push_back(std::move(datagram));
    ASSERT_EQ(bySuit.size(), 2u);
    int suit = 0;
    for (const auto& [port, datagrams] : bySuit) {
        EXPECT_EQ(port, simulator.SourcePort(suit));
        ASSERT_EQ(datagrams.size(), 12u);
        for (uint32_t index = 0; index < datagrams.size(); index++) {
            EXPECT_EQ(datagrams[index].bytes.size(), 152u);
            EXPECT_EQ(datagrams[index].Counter(), index);
            EXPECT_EQ(datagrams[index].Name(), "Simulated sui " + std::to_string(suit + 1));
            // The copies of one burst carry the same readings.
            const Received& burstStart = datagrams[index - index % 3];
            EXPECT_EQ(
                std::memcmp(datagrams[index].Readings(), burstStart.Readings(), RawCounterOffset),
                0);
        }
        suit++;
    }
}

TEST(SimulatorLoopback, ReportsPortsThatCannotBeUsed)
{
    Listener listener;
    SimulateOptions options = FastOptions(listener);
    options.sourcePort = listener.port; // already bound by the listener
    Simulator simulator;
    EXPECT_NE(simulator.Open(options).find("cannot bind source port"), std::string::npos);

    // Broadcasting needs a permission the simulator does not ask for.
    options.sourcePort = 0;
    options.destination.host = "255.255.255.255";
    EXPECT_NE(simulator.Open(options).find("cannot reach 255.255.255.255"), std::string::npos);
}

TEST(SimulatorLoopback, StopsAtTheFlagBeforeTheNextFrame)
{
    // Stops itself from inside the run, as a signal handler would.
    class StoppingMotion final : public MotionSource {
      public:
        explicit StoppingMotion(std::atomic<bool>& stop) : stop(stop) {}
        void FillReadings(int, uint64_t frame, SuitReadings& readings) override
        {
            readings = SuitReadings{};
            if (frame == 2)
                stop.store(true);
        }
        std::atomic<bool>& stop;
    };
    Listener listener;
    SimulateOptions options = FastOptions(listener);
    Simulator simulator;
    ASSERT_EQ(simulator.Open(options), "");
    std::atomic<bool> stop{false};
    StoppingMotion motion(stop);
    SimulationSummary summary = simulator.Run(motion, stop);
    EXPECT_EQ(summary.frames, 3u);
    EXPECT_EQ(listener.Drain().size(), 3u);
}

void IgnoreSignal(int)
{
}

TEST(SimulatorLoopback, SignalCutsTheFrameSleepShort)
{
    struct sigaction action {};
    action.sa_handler = IgnoreSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);

    Listener listener;
    SimulateOptions options = FastOptions(listener);
    options.rate = 0.01; // the second frame is due in 100 seconds
    Simulator simulator;
    ASSERT_EQ(simulator.Open(options), "");
    WalkingMotion motion(options.rate, 0);
    std::atomic<bool> stop{false};
    SimulationSummary summary;
    std::thread thread([&] { summary = simulator.Run(motion, stop); });
    ASSERT_EQ(listener.Drain(10000, 1).size(), 1u);
    stop.store(true);
    pthread_kill(thread.native_handle(), SIGUSR1);
    thread.join();
    EXPECT_EQ(summary.frames, 1u);
    // Not a timing: a sleep that ignored the signal would last the 100 s.
    EXPECT_LT(summary.seconds, 50.0);
    EXPECT_EQ(listener.Drain(50).size(), 0u);
}
} // namespace
