#pragma once
// The Windows clock functions the engine measures time with, on the
// monotonic steady clock.

#include "platform/base/WinTypes.h"

// Ticks of the steady clock (nanoseconds). Always succeeds.
BOOL QueryPerformanceCounter(LONGLONG* counter);
// Ticks per second: 1,000,000,000.
BOOL QueryPerformanceFrequency(LONGLONG* frequency);
// Milliseconds since the process started (wraps after 49.7 days, as on Windows).
DWORD timeGetTime();
void Sleep(DWORD milliseconds);
