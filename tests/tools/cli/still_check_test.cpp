#include "tools/cli/still_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using Verdict = StillCheck::Verdict;
constexpr int EveryChannel = -1;
constexpr int64_t Millisecond = 1'000'000;

struct Reading {
    int64_t ms;
    int channel; // the one moved by offset from rest, or EveryChannel
    int offset;
    Verdict expected;
};

struct Case {
    const char* name;
    std::vector<Reading> readings;
};

RawChannels At(const Reading& reading)
{
    RawChannels channels;
    channels.fill(2048);
    for (int i = 0; i < StillChannelCount; i++)
        if (reading.channel == EveryChannel || reading.channel == i)
            channels[i] = uint16_t(2048 + reading.offset);
    return channels;
}

TEST(StillCheck, VerdictsOverASequenceOfReadings)
{
    const int tolerance = StillToleranceCounts;
    const Case cases[] = {
        {"a suit at rest is still after half a second",
         {{0, 0, 0, Verdict::Settling},
          {250, 0, 0, Verdict::Settling},
          {499, 0, 0, Verdict::Settling},
          {500, 0, 0, Verdict::Still}}},
        {"noise within the tolerance, either way, is rest",
         {{0, EveryChannel, 0, Verdict::Settling},
          {200, EveryChannel, tolerance, Verdict::Settling},
          {400, EveryChannel, -tolerance, Verdict::Settling},
          {600, EveryChannel, tolerance, Verdict::Still}}},
        {"a move starts the half second again",
         {{0, 0, 0, Verdict::Settling},
          {300, 10, tolerance + 1, Verdict::Moved},
          {700, 10, tolerance + 1, Verdict::Settling},
          {800, 10, tolerance + 1, Verdict::Still}}},
        {"a move down counts as much as a move up",
         {{0, 5, 0, Verdict::Settling}, {100, 5, -(tolerance + 1), Verdict::Moved}}},
        {"the last channel is watched too",
         {{0, 47, 0, Verdict::Settling}, {100, 47, tolerance + 1, Verdict::Moved}}},
        {"a slow creep is movement, measured from the stretch's start",
         {{0, 3, 0, Verdict::Settling},
          {100, 3, 2, Verdict::Settling},
          {200, 3, 4, Verdict::Settling},
          {300, 3, 6, Verdict::Moved},
          {400, 3, 8, Verdict::Settling},
          {900, 3, 8, Verdict::Still}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        StillCheck check;
        for (const Reading& reading : test.readings)
            EXPECT_EQ(check.Feed(reading.ms * Millisecond, At(reading)), reading.expected)
                << "at " << reading.ms << " ms";
    }
}
} // namespace
