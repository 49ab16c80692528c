#pragma once
// Takes SIGTERM (a screensaver daemon stopping its saver, the session
// ending), SIGINT (Ctrl+C) and SIGUSR1 (xscreensaver's "stop now") on a
// thread of its own. The signals are blocked in every thread and taken by
// the watching thread with sigtimedwait, which can then call into the engine
// safely (a signal handler could not take the engine's locks). What a signal
// does is the callback's business (see CSignalResponse).
//
//   CSignalWatcher::BlockSignals();       // first thing in main, before any thread starts
//   CSignalWatcher watcher([&](int signal) { response.OnSignal(signal); });
//   ... the program's work ...
//   watcher.Stop();
//
// Blocked signals that nobody takes are never delivered: the watcher must
// exist before the program does anything that can wait (opening a file, a
// dialog), or a signal sent meanwhile is ignored until then.

#include <atomic>
#include <functional>
#include <thread>

class CSignalWatcher {
public:
    // Blocks the three signals in the calling thread; threads started later
    // inherit the mask.
    static void BlockSignals();

    // onSignal gets each signal taken; onIdle, when given, is called between
    // waits (about 20 times a second), also on the watching thread.
    explicit CSignalWatcher(std::function<void(int signal)> onSignal, std::function<void()> onIdle = nullptr);
    ~CSignalWatcher();
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

    void Stop();
    // The last signal received, 0 when none.
    int ReceivedSignal() const { return m_signal.load(); }

private:
    void Watch();

    std::function<void(int)> m_onSignal;
    std::function<void()> m_onIdle;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_signal{0};
    std::thread m_thread;
};
