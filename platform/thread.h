// Threads for the library: the receive thread (joined) and short-lived
// detached helpers.
#pragma once

#include <pthread.h>

using ThreadMain = void (*)(void* argument);

struct PlatformThread {
    pthread_t handle;
    bool running = false;
};

enum class ThreadPriority { Normal, Highest };

// Starts main(argument) on a new thread. Highest asks for the best nice value
// the process may set (never a real-time policy); refusal is silent.
// Returns false if the thread could not be created.
bool StartThread(PlatformThread* thread, ThreadMain main, void* argument, ThreadPriority priority);

// Waits for the thread to end; does nothing for a thread that is not running.
void JoinThread(PlatformThread* thread);

// Starts a thread that nobody joins. Returns false if it could not be created.
bool StartDetachedThread(ThreadMain main, void* argument);
