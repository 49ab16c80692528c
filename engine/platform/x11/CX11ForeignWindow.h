#pragma once
// An output window that renders into an X11 window owned by another program:
// the window a screensaver daemon hands to its savers (xscreensaver's
// XSCREENSAVER_WINDOW, -window-id), or the root window.
//
// The window is borrowed, not managed: it is never mapped, raised, resized,
// grabbed or made full screen, and no input is selected on it, so that the
// daemon keeps the keyboard and the mouse. Only structure events are watched
// (size changes, destruction). The GL context is made for the window's own
// visual when an EGL configuration matches it; otherwise a child window with
// a GL visual covers the window and follows its size.
//
// Threads: Create and PumpEvents (through PeekMessage) run on the host
// thread, which owns one X connection; the render thread draws through a
// second connection of its own, so that Xlib needs no locking between them.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "platform/window/COutputWindow.h"

class CX11ForeignWindow final : public COutputWindow {
public:
    // The window with that X id on the default display ($DISPLAY). Null, with
    // the reason in error, when the display cannot be opened, the window does
    // not exist or no OpenGL 3.3 configuration can draw into it.
    static std::unique_ptr<CX11ForeignWindow> Create(unsigned long windowId, std::string* error = nullptr);
    // The root window of the default screen.
    static std::unique_ptr<CX11ForeignWindow> CreateForRoot(std::string* error = nullptr);
    ~CX11ForeignWindow() override;
    CX11ForeignWindow(const CX11ForeignWindow&) = delete;
    CX11ForeignWindow& operator=(const CX11ForeignWindow&) = delete;

    // --- GL context (render thread) ---
    bool CreateContext() override;
    bool MakeCurrent() override;
    void DestroyContext() override;
    void Present() override;
    void SetSwapInterval(int interval) override;

    SIZE GetClientSize() const override;

    // The window the program was given, and the one GL draws into (the same,
    // or the child window made for a GL visual).
    unsigned long TargetWindow() const;
    unsigned long DrawingWindow() const;
    bool UsesChildWindow() const;
    // True once the target window was destroyed; WM_DESTROY has been queued.
    bool HasVanished() const { return m_vanished.load(); }

protected:
    // Reads the structure events of the target: follows its size and queues
    // WM_DESTROY when it goes away.
    void PumpEvents() override;

private:
    struct SConnection;
    struct SGlState;

    CX11ForeignWindow();
    static std::unique_ptr<CX11ForeignWindow> Open(unsigned long windowId, bool root, std::string* error);
    bool Attach(unsigned long windowId, bool root, std::string* error);
    bool CreateChildWindow(int visualId, std::string* error);
    void ResizeTo(int width, int height);

    std::unique_ptr<SConnection> m_host;  // host thread: events, the child window
    std::unique_ptr<SGlState> m_gl;       // render thread: EGL on its own connection
    mutable std::mutex m_glMutex;
    std::atomic<LONG> m_width{0};
    std::atomic<LONG> m_height{0};
    std::atomic<bool> m_vanished{false};
};
