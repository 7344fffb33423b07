#include "viewer/playback_timer.h"

#include <system_error>

bool PlaybackTimer::Start(std::chrono::milliseconds period, Tick tick)
{
    Stop();
    if (period < std::chrono::milliseconds(1) || !tick)
        return false;
    std::lock_guard hold(control);
    {
        std::lock_guard state(mutex);
        stopRequested = false;
        running = true;
    }
    try {
        thread = std::thread(&PlaybackTimer::Run, this, period, std::move(tick));
    } catch (const std::system_error&) {
        std::lock_guard state(mutex);
        running = false;
        return false;
    }
    return true;
}

void PlaybackTimer::Stop()
{
    std::lock_guard hold(control);
    {
        std::lock_guard state(mutex);
        stopRequested = true;
    }
    wake.notify_all();
    if (thread.joinable())
        thread.join();
    std::lock_guard state(mutex);
    running = false;
}

bool PlaybackTimer::Running()
{
    std::lock_guard state(mutex);
    return running;
}

void PlaybackTimer::Run(std::chrono::milliseconds period, Tick tick)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point deadline = Clock::now() + period;
    std::unique_lock state(mutex);
    for (;;) {
        if (wake.wait_until(state, deadline, [this] { return stopRequested; }))
            break;
        state.unlock();
        bool goOn = tick();
        state.lock();
        if (!goOn || stopRequested)
            break;
        deadline += period;
        // After a stall (a suspended machine, a starved thread) the ticks
        // missed are skipped rather than run in a burst that would race
        // through the take.
        if (Clock::now() - deadline > period)
            deadline = Clock::now() + period;
    }
    running = false;
}
