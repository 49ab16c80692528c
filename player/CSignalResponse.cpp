#include "CSignalResponse.h"

#include <unistd.h>

#include <utility>

#include "CChildProcesses.h"

CSignalResponse::CSignalResponse(ExitFunction exitNow) : m_exit(std::move(exitNow)) {
    if (!m_exit) {
        m_exit = [](int status) {
            // A message box open in a child of ours goes with the program.
            CChildProcesses::KillAll();
            _exit(status);
        };
    }
}

void CSignalResponse::OnSignal(int signal) {
    int none = 0;
    m_signal.compare_exchange_strong(none, signal);
    // Checked after the signal was recorded: a report that starts now sees
    // the signal, one that started before is seen here.
    if (m_modalReports.load() > 0) {
        ExitNow(signal);
        return;
    }
    std::function<void()> stop;
    {
        std::lock_guard lock(m_mutex);
        if (!m_graceful || m_stopRequestedAt) {
            // Before the run, or a second signal: the user means it.
            ExitNow(signal);
            return;
        }
        m_stopRequestedAt = Clock::now();
        stop = m_stop;
    }
    if (stop)
        stop();
}

void CSignalResponse::CheckGrace(Clock::time_point now) {
    bool overdue = false;
    {
        std::lock_guard lock(m_mutex);
        overdue = m_stopRequestedAt && now - *m_stopRequestedAt >= kGraceTime;
    }
    if (overdue)
        ExitNow(m_signal.load());
}

void CSignalResponse::BeginRun(std::function<void()> stop) {
    std::lock_guard lock(m_mutex);
    m_graceful = true;
    m_stop = std::move(stop);
}

void CSignalResponse::EndRun() {
    std::lock_guard lock(m_mutex);
    m_stop = nullptr;
}

bool CSignalResponse::BeginModalReport() {
    ++m_modalReports;
    if (m_signal.load() != 0) {
        --m_modalReports;
        return false;
    }
    return true;
}

void CSignalResponse::EndModalReport() {
    --m_modalReports;
}

void CSignalResponse::ExitNow(int signal) {
    m_exit(128 + signal);
}
