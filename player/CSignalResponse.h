#pragma once
// What SIGTERM, SIGINT and SIGUSR1 do at each point of the player's life.
// CSignalWatcher hands every signal to OnSignal (on its own thread):
//
// - before the run (command line, scene probe, settings dialog): nothing is
//   running that could end gracefully, so the program ends at once with
//   status 128 + the signal's number;
// - from the run's start: the run is asked to stop and the program ends as
//   usual; a second signal, or a stop that has not ended the program within
//   the grace time, ends it at once;
// - while an error report waits on screen (a modal box, which would wait for
//   a click that a screensaver never gets): the program ends at once. A
//   report that comes after a signal shows no box at all.
//
//   CSignalResponse response;      // the watcher is made right after it
//   CSignalWatcher watcher([&](int s) { response.OnSignal(s); }, [&] { response.CheckGrace(); });
//   response.BeginRun([&] { player.RequestStop(); screen.StopRun(); });
//   ... the run ...
//   response.EndRun();

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

class CSignalResponse {
public:
    using Clock = std::chrono::steady_clock;
    // Ends the process with the status. The default kills the program's
    // child processes (an open message box) and calls _exit, which runs no
    // destructors: another thread may hang in the window system.
    using ExitFunction = std::function<void(int status)>;

    static constexpr std::chrono::seconds kGraceTime{5};

    explicit CSignalResponse(ExitFunction exitNow = nullptr);

    // A signal arrived (watcher thread).
    void OnSignal(int signal);
    // Ends the program when a stop asked for by a signal has taken longer
    // than the grace time (watcher thread, regularly).
    void CheckGrace(Clock::time_point now = Clock::now());

    // From here on a signal stops gracefully: `stop` asks the run to end
    // (called on the watcher thread).
    void BeginRun(std::function<void()> stop);
    // The run is over: signals no longer reach its stop request.
    void EndRun();

    // Brackets a modal report (any thread). False when a signal came
    // already: then the report must not wait on screen, and EndModalReport
    // is not called.
    bool BeginModalReport();
    void EndModalReport();

    // The first signal received, 0 when none.
    int ReceivedSignal() const { return m_signal.load(); }

private:
    void ExitNow(int signal);

    ExitFunction m_exit;
    std::atomic<int> m_signal{0};
    std::atomic<int> m_modalReports{0};
    std::mutex m_mutex;  // guards the fields below
    bool m_graceful = false;
    std::function<void()> m_stop;
    std::optional<Clock::time_point> m_stopRequestedAt;
};
