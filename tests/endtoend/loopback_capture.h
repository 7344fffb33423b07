// A simulated suit and `varnel record` in one process, talking over the
// loopback interface as the command line runs them, on the test's own port.
#pragma once

#include "tests/support/captured_output.h"
#include "tests/support/own_suit_port.h"
#include "tools/record/recorder.h"
#include "tools/simulator/simulator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

// Sends the motion from a thread of its own until the motion ends or the
// suit is destroyed.
class SimulatedSuit {
  public:
    SimulatedSuit(MotionSource& motion, const SimulateOptions& options)
    {
        opened = simulator.Open(options);
        EXPECT_EQ(opened, "");
        if (!opened.empty())
            return;
        thread = std::thread([this, &motion] {
            summary = simulator.Run(motion, stop);
            finished.store(true);
        });
    }
    ~SimulatedSuit()
    {
        stop.store(true);
        if (thread.joinable())
            thread.join();
    }
    bool Finished() const { return finished.load(); }

    SimulationSummary summary;

  private:
    Simulator simulator;
    std::string opened;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::thread thread;
};

inline SimulateOptions LoopbackSuitOptions(double rate, double leadInSeconds)
{
    SimulateOptions options;
    options.destination.port = SuitPort();
    options.rate = rate;
    options.rateGiven = true;
    options.leadInSeconds = leadInSeconds;
    return options;
}

// A recording at once: the simulated suits hold the null pose only for a
// short lead-in, if at all.
inline RecordOptions ImmediateRecordOptions(const std::string& outputPath)
{
    RecordOptions options;
    options.outputPath = outputPath;
    options.countdownSeconds = 0.0;
    options.stillCheck = false;
    return options;
}

// Stops a recording once the suit has sent its last frame and the library
// has had a moment to deliver it.
class StopAfterSuit {
  public:
    explicit StopAfterSuit(const SimulatedSuit& suit)
        : thread([this, &suit] {
              while (!suit.Finished() && !done.load())
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              std::this_thread::sleep_for(std::chrono::milliseconds(200));
              stop.store(true);
          })
    {
    }
    ~StopAfterSuit()
    {
        done.store(true);
        thread.join();
    }
    std::atomic<bool> stop{false};

  private:
    std::atomic<bool> done{false};
    std::thread thread;
};
