// The millisecond clock and sleeping.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, as a 32-bit counter that wraps; the
// library compares such times as unsigned differences.
uint32_t MillisecondCounter();

// Tests replace the clock to drive timeout logic without sleeping; null
// restores the system clock.
using ClockSource = uint32_t (*)();
void SetClockSourceForTesting(ClockSource source);

void SleepMilliseconds(uint32_t milliseconds);
