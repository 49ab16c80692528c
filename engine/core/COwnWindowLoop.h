#pragma once
// The screen's own window and its message loop: opened when a host gives the
// screen no window, run on the thread that called Display until the window
// closes. The loop translates Escape into the exit command and, for a
// screensaver, ends the run on user input.
//
// It dispatches to the screen's window procedure and ends the run through the
// stop request; both are handed in, so the loop needs no screen. The message
// rules (ProcessLoopMessage) also apply to a host's window, which tests use
// to feed them synthetic messages.
//
//   COwnWindowLoop loop(windowProcedure, requestStop);
//   if (loop.CreateOwnWindow(request)) {
//       ... start the render thread on loop.GetOwnWindow() ...
//       loop.RunMessageLoop(screenSaver);
//       ... wait for the render thread ...
//       loop.CloseOwnWindow();
//   }

#include <functional>
#include <memory>

#include "platform/base/WinTypes.h"
#include "platform/window/SOwnWindowRequest.h"

class COutputWindow;

class COwnWindowLoop {
public:
    using WindowProcedure = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;
    using StopRequest = std::function<void()>;

    COwnWindowLoop(WindowProcedure windowProcedure, StopRequest requestStop);
    ~COwnWindowLoop();
    COwnWindowLoop(const COwnWindowLoop&) = delete;
    COwnWindowLoop& operator=(const COwnWindowLoop&) = delete;

    // Opens the window the host registered for the engine; false (and the
    // platform's reason logged) when it cannot.
    bool CreateOwnWindow(const SOwnWindowRequest& request);
    // The open own window, or null.
    HWND GetOwnWindow() const;
    // Closes the own window, handing its WM_DESTROY to the window procedure.
    // False when there was none.
    bool CloseOwnWindow();

    // A run begins: the screensaver counts its mouse moves afresh.
    void BeginRun();
    // Handles the own window's messages until WM_QUIT, or a message after
    // which ProcessLoopMessage says the loop ends.
    void RunMessageLoop(bool screenSaver);
    // One message of `window` (the screen's output window): accelerator,
    // dispatch and the screensaver exit rules. True when the loop ends.
    bool ProcessLoopMessage(const MSG& msg, HWND window, bool screenSaver);

private:
    bool TranslateAccelerator(const MSG& msg, HWND window);
    // True when the message ended the run.
    bool ApplyScreenSaverRule(const MSG& msg, HWND window);

    WindowProcedure m_WindowProcedure;
    StopRequest m_RequestStop;
    std::unique_ptr<COutputWindow> m_pOwnWindow;
    // The screensaver's mouse-move rule (host thread only).
    int m_iMouseMoveCount = 0;
    POINT m_LastCursor{};
};
