#include "platform/thread_cpu_time.h"

#include <ctime>

namespace {
double ClockSeconds(clockid_t clock)
{
    timespec used;
    if (clock_gettime(clock, &used) != 0)
        return 0.0;
    return double(used.tv_sec) + double(used.tv_nsec) * 1e-9;
}
} // namespace

double ThreadCpuSeconds(const PlatformThread& thread)
{
    clockid_t clock;
    if (pthread_getcpuclockid(thread.handle, &clock) != 0)
        return 0.0;
    return ClockSeconds(clock);
}

double CurrentThreadCpuSeconds()
{
    return ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
}
