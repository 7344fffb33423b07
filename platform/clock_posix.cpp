#include "platform/clock.h"

#include <atomic>
#include <ctime>

namespace {
std::atomic<ClockSource> clockOverride{nullptr};

uint32_t MonotonicMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t milliseconds = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
    return uint32_t(milliseconds);
}
} // namespace

uint32_t MillisecondCounter()
{
    ClockSource source = clockOverride.load(std::memory_order_acquire);
    return source ? source() : MonotonicMilliseconds();
}

void SetClockSourceForTesting(ClockSource source)
{
    clockOverride.store(source, std::memory_order_release);
}

void SleepMilliseconds(uint32_t milliseconds)
{
    timespec interval{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
    while (nanosleep(&interval, &interval) != 0) {
        // interrupted by a signal: sleep the rest
    }
}
