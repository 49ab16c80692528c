#pragma once
// The window the engine renders into. The engine sees every output the same
// way: its own SDL window, the headless EGL surface of tests and command-line
// rendering, or a host's window (the editor's Qt view).
//
// Threads: the window belongs to the thread that created it (the host
// thread). The render thread creates the GL context through the window, makes
// it current and presents. Messages posted from any thread are delivered to
// the owning thread: PeekMessage hands them out there, mixed with the
// window-system events the implementation translates into messages.

#include <deque>
#include <mutex>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/window/CInputState.h"

class COutputWindow {
public:
    virtual ~COutputWindow() = default;

    // --- GL context (render thread) -------------------------------------
    // Creates an OpenGL 3.3 (or later) core context for this window and makes
    // it current on the calling thread.
    virtual bool CreateContext() = 0;
    virtual bool MakeCurrent() = 0;
    // Releases the context from the calling thread and destroys it.
    virtual void DestroyContext() = 0;
    // Shows the finished frame.
    virtual void Present() = 0;
    // The GL framebuffer that stands for the back buffer (0 for windows; an
    // offscreen framebuffer object for the headless surface). The device
    // binds it whenever it draws to the back buffer.
    virtual unsigned int BackBufferFramebuffer() const { return 0; }
    // Turns vertical sync on or off for Present (where the platform allows).
    virtual void SetSwapInterval(int /*interval*/) {}

    // --- geometry ---------------------------------------------------------
    virtual SIZE GetClientSize() const = 0;

    // --- window management (host thread) ----------------------------------
    virtual void SetTitle(const std::string& /*title*/) {}
    virtual void Show() {}
    virtual void SetTopmost(bool /*topmost*/) {}
    virtual void ShowCursor(bool /*show*/) {}
    virtual bool IsForeground() const { return true; }
    // Closes the window once the render thread has let go of its context; a
    // window that closes queues WM_DESTROY for its owner.
    virtual void Close() {}
    // The number the engine's log shows for the window (the window system's
    // id for the engine's own window; 0 for other outputs).
    virtual int WindowNumber() const { return 0; }
    // Position of the pointer in screen coordinates.
    virtual POINT GetCursorPos() const { return {}; }

    // --- messages -----------------------------------------------------------
    // Queues a message for the owning thread; safe from any thread. Host
    // windows may override it to hand the message to their own event loop.
    virtual void PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Takes the next message, if any, after translating pending window-system
    // events (owning thread only). Returns false when none is waiting.
    bool PeekMessage(MSG& msg, bool remove = true);
    // Blocks up to timeoutMs for a message (owning thread only).
    bool WaitMessage(MSG& msg, int timeoutMs);

    // --- input --------------------------------------------------------------
    CInputState& Input() { return m_input; }

protected:
    // Translates pending window-system events into queued messages and input
    // state. Called by PeekMessage on the owning thread.
    virtual void PumpEvents() {}
    // Appends a message without waking anybody (for PumpEvents).
    void QueueMessage(const MSG& msg);

private:
    std::mutex m_queueMutex;
    std::deque<MSG> m_queue;
    CInputState m_input;
};
