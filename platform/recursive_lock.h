// The library's one lock. Recursive: the receive thread calibrates a suit
// while it already holds it, and frame callbacks run under it. It knows
// which thread holds it, and runs a hook on the releasing thread after the
// outermost release, so that work which must never run under the lock (a
// client's message handler may block until another thread answers) can be
// put off until then.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

class RecursiveLock {
  public:
    void lock();
    bool try_lock();
    void unlock();

    bool HeldByThisThread() const;

    // Called after each outermost release, outside the lock.
    void SetReleaseHook(void (*hook)());

  private:
    std::recursive_mutex mutex;
    std::atomic<std::thread::id> owner{};
    int depth = 0; // touched only by the owner
    std::atomic<void (*)()> releaseHook{nullptr};
};
