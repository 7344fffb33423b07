// CPU time used by a thread, for measuring what the library's threads cost.
#pragma once

#include "platform/thread.h"

// Seconds of CPU the thread has used; 0 if it cannot be read.
double ThreadCpuSeconds(const PlatformThread& thread);
double CurrentThreadCpuSeconds();
