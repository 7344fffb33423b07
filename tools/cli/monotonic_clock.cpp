#include "tools/cli/monotonic_clock.h"

#include <cerrno>
#include <ctime>

int64_t MonotonicNanoseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

bool SleepUntil(int64_t dueNanoseconds)
{
    timespec due;
    due.tv_sec = time_t(dueNanoseconds / NanosecondsPerSecond);
    due.tv_nsec = long(dueNanoseconds % NanosecondsPerSecond);
    // An absolute deadline: however late this call starts, it wakes on time.
    return clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) != EINTR;
}
