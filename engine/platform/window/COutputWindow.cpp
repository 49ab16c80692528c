#include "platform/window/COutputWindow.h"

#include <chrono>
#include <thread>

void COutputWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    QueueMessage(MSG{this, message, wParam, lParam});
}

void COutputWindow::QueueMessage(const MSG& msg) {
    std::lock_guard lock(m_queueMutex);
    m_queue.push_back(msg);
}

bool COutputWindow::PeekMessage(MSG& msg, bool remove) {
    PumpEvents();
    std::lock_guard lock(m_queueMutex);
    if (m_queue.empty())
        return false;
    msg = m_queue.front();
    if (remove)
        m_queue.pop_front();
    return true;
}

bool COutputWindow::WaitMessage(MSG& msg, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!PeekMessage(msg, true)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
