#pragma once
// Ends the run promptly on SIGTERM (a screensaver daemon stopping its saver,
// the session ending), SIGINT (Ctrl+C) and SIGUSR1 (xscreensaver's "stop
// now"). The signals are blocked in every thread and taken by one watching
// thread with sigtimedwait, which can then call into the engine safely (a
// signal handler could not take the engine's locks).
//
//   CSignalWatcher::BlockSignals();       // first thing in main, before any thread starts
//   CSignalWatcher watcher([] { CScreen::Instance().StopRun(); });
//   ... run ...
//   watcher.Stop();

#include <atomic>
#include <functional>
#include <thread>

class CSignalWatcher {
public:
    // Blocks the three signals in the calling thread; threads started later
    // inherit the mask.
    static void BlockSignals();
    // Gives the three signals their default action again in the calling
    // thread (for work that runs without a watcher, such as a dialog).
    static void UnblockSignals();

    explicit CSignalWatcher(std::function<void()> onSignal);
    ~CSignalWatcher();
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

    void Stop();
    // The last signal received, 0 when none.
    int ReceivedSignal() const { return m_signal.load(); }

private:
    void Watch();

    std::function<void()> m_onSignal;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_signal{0};
    std::thread m_thread;
};
