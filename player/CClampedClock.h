#pragma once
// The playback clock of the player: monotonic seconds in which no step
// between two readings is longer than a limit. A screensaver daemon stops
// its saver with SIGSTOP while the screen is not blanked and lets it go on
// with SIGCONT; the scene must go on where it stopped instead of jumping
// ahead by the minutes it was frozen (and restarting its music far away).
// The time lost that way is simply skipped.
//
// CScreen reads it under its own lock (SetClockSource), so readings never
// overlap.

#include <functional>

class CClampedClock {
public:
    using Source = std::function<double()>;

    // source: raw monotonic seconds (default: std::chrono::steady_clock).
    explicit CClampedClock(double maxStepSeconds = 0.25, Source source = {});

    double Now();
    // Seconds skipped so far.
    double Skipped() const { return m_skipped; }

private:
    double m_maxStep;
    Source m_source;
    bool m_started = false;
    double m_lastRaw = 0.0;
    double m_skipped = 0.0;
};
