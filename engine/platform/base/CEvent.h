#pragma once
// A Win32-style event. A manual-reset event stays signalled until ResetEvent
// and releases every waiter; an automatic-reset event releases exactly one
// waiter and returns to non-signalled as that waiter wakes.

#include <condition_variable>
#include <mutex>

#include "platform/base/WinTypes.h"

constexpr DWORD INFINITE = 0xFFFFFFFFu;

class CEvent {
public:
    explicit CEvent(bool initiallySignalled = false, bool manualReset = false);
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    // True when the event was signalled within timeoutMs (INFINITE waits forever).
    bool Wait(DWORD timeoutMs = INFINITE);
    bool IsSignalled() const;
    bool IsManualReset() const { return m_manualReset; }

private:
    const bool m_manualReset;
    bool m_signalled;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
};
