#include "platform/base/Timing.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Taken during static initialisation, so timeGetTime starts near zero.
const Clock::time_point g_processStart = Clock::now();

}  // namespace

BOOL QueryPerformanceCounter(LONGLONG* counter) {
    if (!counter)
        return FALSE;
    *counter = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LONGLONG* frequency) {
    if (!frequency)
        return FALSE;
    *frequency = 1'000'000'000;
    return TRUE;
}

DWORD timeGetTime() {
    const auto elapsed = Clock::now() - g_processStart;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<DWORD>(static_cast<UINT64>(ms));  // wraps like the Windows counter
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
