#include "platform/thread.h"

#include <new>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
struct ThreadStart {
    ThreadMain main;
    void* argument;
    ThreadPriority priority;
};

// Per-thread nice value: the lowest one the process is allowed, at best -20.
void RaisePriority()
{
    pid_t thread = pid_t(syscall(SYS_gettid));
    int current = getpriority(PRIO_PROCESS, id_t(thread));
    for (int nice = -20; nice < current; nice++) {
        if (setpriority(PRIO_PROCESS, id_t(thread), nice) == 0)
            return;
    }
}

void* Trampoline(void* raw)
{
    ThreadStart start = *static_cast<ThreadStart*>(raw);
    delete static_cast<ThreadStart*>(raw);
    if (start.priority == ThreadPriority::Highest)
        RaisePriority();
    start.main(start.argument);
    return nullptr;
}

bool Create(pthread_t* handle, ThreadMain main, void* argument, ThreadPriority priority,
            bool detached)
{
    auto* start = new (std::nothrow) ThreadStart{main, argument, priority};
    if (!start)
        return false;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    if (detached)
        pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    int result = pthread_create(handle, &attributes, Trampoline, start);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        delete start;
        return false;
    }
    return true;
}
} // namespace

bool StartThread(PlatformThread* thread, ThreadMain main, void* argument, ThreadPriority priority)
{
    thread->running = Create(&thread->handle, main, argument, priority, false);
    return thread->running;
}

void JoinThread(PlatformThread* thread)
{
    if (!thread->running)
        return;
    pthread_join(thread->handle, nullptr);
    thread->running = false;
}

bool StartDetachedThread(ThreadMain main, void* argument)
{
    pthread_t handle;
    return Create(&handle, main, argument, ThreadPriority::Normal, true);
}
