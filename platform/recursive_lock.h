// The library's one lock must be recursive: the receive thread calibrates a
// suit while it already holds it.
#pragma once

#include <mutex>

using RecursiveLock = std::recursive_mutex;
