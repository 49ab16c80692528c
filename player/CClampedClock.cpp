#include "CClampedClock.h"

#include <chrono>

CClampedClock::CClampedClock(double maxStepSeconds, Source source)
    : m_maxStep(maxStepSeconds), m_source(std::move(source)) {
    if (!m_source) {
        m_source = [] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        };
    }
}

double CClampedClock::Now() {
    const double raw = m_source();
    if (m_started && raw - m_lastRaw > m_maxStep)
        m_skipped += raw - m_lastRaw - m_maxStep;
    m_started = true;
    m_lastRaw = raw;
    return raw - m_skipped;
}
