// The periodic timer that steps playback. It is a thread of its own rather
// than a toolkit timer: the tick must keep its period while the window is
// busy (a modal box, a long paint), and it only changes the state's atomic
// words and asks for a repaint, so it needs no event loop. Deadlines are
// absolute on the steady clock, so the period never drifts with the time
// each tick takes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class PlaybackTimer {
  public:
    // Called once per period on the timer's thread; false ends the timer
    // (the tick cannot stop the thread it runs on).
    using Tick = std::function<bool()>;

    PlaybackTimer() = default;
    PlaybackTimer(const PlaybackTimer&) = delete;
    PlaybackTimer& operator=(const PlaybackTimer&) = delete;
    ~PlaybackTimer() { Stop(); }

    // Stops a running timer, then calls tick every period, the first time
    // one period from now. False, and nothing runs, when the period is
    // under a millisecond or the thread cannot be started.
    bool Start(std::chrono::milliseconds period, Tick tick);

    // Ends the timer and waits for a tick in progress to return; nothing
    // runs afterwards. Safe when no timer runs; never from the tick, which
    // returns false instead.
    void Stop();

    // Started and not yet stopped or ended by its tick.
    bool Running();

  private:
    void Run(std::chrono::milliseconds period, Tick tick);

    std::mutex mutex;
    std::condition_variable wake;
    bool stopRequested = false;
    bool running = false;
    std::thread thread;
    // Orders Start and Stop (the owner's thread, and a destructor at exit).
    std::mutex control;
};
