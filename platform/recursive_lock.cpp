#include "platform/recursive_lock.h"

void RecursiveLock::lock()
{
    mutex.lock();
    if (depth++ == 0)
        owner.store(std::this_thread::get_id());
}

bool RecursiveLock::try_lock()
{
    if (!mutex.try_lock())
        return false;
    if (depth++ == 0)
        owner.store(std::this_thread::get_id());
    return true;
}

void RecursiveLock::unlock()
{
    bool outermost = --depth == 0;
    if (outermost)
        owner.store(std::thread::id());
    mutex.unlock();
    if (outermost) {
        if (void (*hook)() = releaseHook.load())
            hook();
    }
}

bool RecursiveLock::HeldByThisThread() const
{
    return owner.load() == std::this_thread::get_id();
}

void RecursiveLock::SetReleaseHook(void (*hook)())
{
    releaseHook.store(hook);
}
