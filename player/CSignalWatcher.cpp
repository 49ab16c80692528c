#include "CSignalWatcher.h"

#include <csignal>
#include <ctime>

namespace {

sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGUSR1);
    return set;
}

}  // namespace

void CSignalWatcher::BlockSignals() {
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

CSignalWatcher::CSignalWatcher(std::function<void(int signal)> onSignal, std::function<void()> onIdle)
    : m_onSignal(std::move(onSignal)), m_onIdle(std::move(onIdle)) {
    m_thread = std::thread(&CSignalWatcher::Watch, this);
}

CSignalWatcher::~CSignalWatcher() {
    Stop();
}

void CSignalWatcher::Stop() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void CSignalWatcher::Watch() {
    const sigset_t set = WatchedSignals();
    // Short waits, so that Stop does not need a signal of its own.
    const timespec wait{0, 50 * 1000 * 1000};
    while (!m_stop) {
        const int signal = sigtimedwait(&set, nullptr, &wait);
        if (signal > 0) {
            m_signal = signal;
            if (m_onSignal)
                m_onSignal(signal);
        }
        if (m_onIdle)
            m_onIdle();
    }
}
