#pragma once
// The engine's own output window on SDL2: a top-level window (windowed and
// resizable, full screen at a display mode, or full screen at the desktop's
// size) with an OpenGL 3.3 core context that the render thread creates and
// presents.
//
// Threads: create, show, close and pump the window on one thread (the host
// thread, which must also be the thread that first started SDL's video). The
// render thread creates its GL context through CreateContext and presents.
// SetTitle, PostMessage, GetClientSize and IsForeground may be called from
// any thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/window/COutputWindow.h"

struct SDL_Window;
class CSdlEventTranslator;

enum class TSdlWindowMode {
    Windowed,           // a framed window with a client area of width x height
    Fullscreen,         // the display switches to width x height
    FullscreenDesktop,  // covers the display at its current mode (the size asked for is not used)
};

struct SSdlWindowSettings {
    TSdlWindowMode mode = TSdlWindowMode::Windowed;
    int width = 640;  // client size (windowed) or display mode (full screen)
    int height = 480;
    int x = 0;  // position of a windowed window on the screen
    int y = 0;
    bool topmost = false;  // stays above other windows (screensavers)
};

class CSdlWindow final : public COutputWindow {
public:
    // Creates the window hidden (Show makes it visible). Returns null, with
    // the reason in error, when no display or no suitable GL visual exists.
    static std::unique_ptr<CSdlWindow> Create(const std::string& title, const SSdlWindowSettings& settings,
                                              std::string* error = nullptr);
    ~CSdlWindow() override;
    CSdlWindow(const CSdlWindow&) = delete;
    CSdlWindow& operator=(const CSdlWindow&) = delete;

    // --- GL context (render thread) ---
    bool CreateContext() override;
    bool MakeCurrent() override;
    void DestroyContext() override;
    void Present() override;
    void SetSwapInterval(int interval) override;

    SIZE GetClientSize() const override;

    // --- window management (owner thread unless noted) ---
    void SetTitle(const std::string& title) override;  // any thread
    void Show() override;
    void SetTopmost(bool topmost) override;
    void ShowCursor(bool show) override;
    // Whether the window has the input focus: true from creation until a
    // focus-lost event, then following the focus events (any thread).
    bool IsForeground() const override;
    POINT GetCursorPos() const override;

    // Destroys the window (after the render thread has destroyed its context)
    // and queues WM_DESTROY. Later calls do nothing; the destructor closes
    // without the message.
    void Close() override;
    bool IsOpen() const;
    // SDL's id of the window, for events addressed to it.
    std::uint32_t WindowId() const { return m_windowId; }
    int WindowNumber() const override { return static_cast<int>(m_windowId); }

protected:
    void PumpEvents() override;

private:
    class EventSink;

    explicit CSdlWindow(SDL_Window* window);
    bool OnOwnerThread() const { return std::this_thread::get_id() == m_ownerThread; }
    void ApplyPendingTitle();
    void UpdateClientSize();
    void DestroyWindow();

    const std::thread::id m_ownerThread;
    // Guards the window against destruction while the render thread uses it,
    // and the context pointer.
    mutable std::mutex m_glMutex;
    SDL_Window* m_window;
    void* m_context = nullptr;  // SDL_GLContext
    std::uint32_t m_windowId;

    std::mutex m_titleMutex;
    std::string m_pendingTitle;
    bool m_titlePending = false;

    std::atomic<bool> m_foreground{true};
    std::atomic<LONG> m_clientWidth{0};
    std::atomic<LONG> m_clientHeight{0};

    std::unique_ptr<CSdlEventTranslator> m_translator;
    std::unique_ptr<EventSink> m_sink;
};
