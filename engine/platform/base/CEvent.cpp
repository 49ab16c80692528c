#include "platform/base/CEvent.h"

#include <chrono>

CEvent::CEvent(bool initiallySignalled, bool manualReset)
    : m_manualReset(manualReset), m_signalled(initiallySignalled) {}

void CEvent::SetEvent() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = true;
    }
    // An automatic-reset event releases one waiter; the first to wake
    // consumes the signal and the others go back to waiting.
    if (m_manualReset)
        m_changed.notify_all();
    else
        m_changed.notify_one();
}

void CEvent::ResetEvent() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_signalled = false;
}

bool CEvent::Wait(DWORD timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto signalled = [this] { return m_signalled; };
    if (timeoutMs == INFINITE)
        m_changed.wait(lock, signalled);
    else if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), signalled))
        return false;
    if (!m_manualReset)
        m_signalled = false;
    return true;
}

bool CEvent::IsSignalled() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_signalled;
}
