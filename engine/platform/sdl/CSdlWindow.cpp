#include "platform/sdl/CSdlWindow.h"

#include <SDL.h>

#include "platform/sdl/CSdlEventTranslator.h"
#include "platform/sdl/CSdlVideo.h"

// Hands the events SDL routes to this window to the window.
class CSdlWindow::EventSink final : public CSdlVideo::IEventSink {
public:
    explicit EventSink(CSdlWindow& window) : m_window(window) {}

    void OnSdlEvent(const SDL_Event& event) override {
        if (event.type == SDL_WINDOWEVENT) {
            switch (event.window.event) {
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                m_window.UpdateClientSize();
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                m_window.m_foreground = true;
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                m_window.m_foreground = false;
                break;
            default:
                break;
            }
        }
        m_window.m_translator->Translate(event);
    }

private:
    CSdlWindow& m_window;
};

namespace {

Uint32 CreationFlags(const SSdlWindowSettings& settings) {
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    // The screen follows the client size (tiling window managers, the user).
    if (settings.mode == TSdlWindowMode::Windowed)
        flags |= SDL_WINDOW_RESIZABLE;
    if (settings.mode == TSdlWindowMode::Fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN;
    if (settings.mode == TSdlWindowMode::FullscreenDesktop)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (settings.topmost)
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

// The display mode a full-screen window switches to: the closest mode the
// display offers, or the size as asked when SDL knows none.
SDL_DisplayMode FullscreenModeFor(const SSdlWindowSettings& settings) {
    SDL_DisplayMode wanted{};
    wanted.w = settings.width;
    wanted.h = settings.height;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest))
        return closest;
    return wanted;
}

// A window that covers the desktop is made at the desktop's size: without a
// window manager nobody else resizes it, and SDL's full-screen flag alone
// leaves it at the size it was created with.
void CoverTheDesktop(SSdlWindowSettings& settings) {
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0)
        return;
    settings.width = desktop.w;
    settings.height = desktop.h;
}

}  // namespace

std::unique_ptr<CSdlWindow> CSdlWindow::Create(const std::string& title, const SSdlWindowSettings& requested,
                                               std::string* error) {
    if (!CSdlVideo::Start(error))
        return nullptr;
    SSdlWindowSettings settings = requested;
    if (settings.mode == TSdlWindowMode::FullscreenDesktop)
        CoverTheDesktop(settings);
    if (settings.width <= 0 || settings.height <= 0) {
        if (error)
            *error = "invalid window size";
        return nullptr;
    }
    SDL_Window* window = nullptr;
    {
        // The window's visual is chosen from the GL attributes at creation.
        auto lock = CSdlVideo::GlAttributeLock();
        CSdlVideo::ApplyGlAttributes();
        const bool windowed = settings.mode == TSdlWindowMode::Windowed;
        window = SDL_CreateWindow(title.c_str(), windowed ? settings.x : 0, windowed ? settings.y : 0, settings.width,
                                  settings.height, CreationFlags(settings));
    }
    if (!window) {
        if (error)
            *error = SDL_GetError();
        return nullptr;
    }
    if (settings.mode == TSdlWindowMode::Fullscreen) {
        const SDL_DisplayMode mode = FullscreenModeFor(settings);
        if (SDL_SetWindowDisplayMode(window, &mode) != 0) {
            if (error)
                *error = SDL_GetError();
            SDL_DestroyWindow(window);
            return nullptr;
        }
    }
    return std::unique_ptr<CSdlWindow>(new CSdlWindow(window));
}

CSdlWindow::CSdlWindow(SDL_Window* window)
    : m_ownerThread(std::this_thread::get_id()), m_window(window), m_windowId(SDL_GetWindowID(window)) {
    UpdateClientSize();
    m_translator = std::make_unique<CSdlEventTranslator>(
        Input(),
        [this](UINT message, WPARAM wParam, LPARAM lParam) {
            QueueMessage(MSG{this, message, wParam, lParam});
        },
        [this] {
            POINT origin;
            std::lock_guard lock(m_glMutex);
            if (m_window)
                SDL_GetWindowPosition(m_window, &origin.x, &origin.y);
            return origin;
        });
    m_sink = std::make_unique<EventSink>(*this);
    CSdlVideo::AddSink(m_windowId, *m_sink);
}

CSdlWindow::~CSdlWindow() {
    DestroyWindow();
}

void CSdlWindow::Close() {
    if (!IsOpen())
        return;
    DestroyWindow();
    QueueMessage(MSG{this, WM_DESTROY, 0, 0});
}

bool CSdlWindow::IsOpen() const {
    std::lock_guard lock(m_glMutex);
    return m_window != nullptr;
}

void CSdlWindow::DestroyWindow() {
    // Stop routing events first: the sink may be running on this thread only.
    CSdlVideo::RemoveSink(m_windowId);
    std::lock_guard lock(m_glMutex);
    if (m_context) {
        // The render thread should have destroyed it; it is gone by now.
        SDL_GL_DeleteContext(m_context);
        m_context = nullptr;
    }
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
}

// --- GL context ---------------------------------------------------------------

bool CSdlWindow::CreateContext() {
    std::lock_guard lock(m_glMutex);
    if (!m_window)
        return false;
    if (m_context)
        return SDL_GL_MakeCurrent(m_window, m_context) == 0;
    {
        auto attributes = CSdlVideo::GlAttributeLock();
        CSdlVideo::ApplyGlAttributes();
        m_context = SDL_GL_CreateContext(m_window);  // also makes it current
    }
    if (!m_context)
        return false;
    // Functions are resolved by libepoxy on first call, for whatever context
    // is current then.
    return SDL_GL_MakeCurrent(m_window, m_context) == 0;
}

bool CSdlWindow::MakeCurrent() {
    std::lock_guard lock(m_glMutex);
    if (!m_window || !m_context)
        return false;
    return SDL_GL_MakeCurrent(m_window, m_context) == 0;
}

void CSdlWindow::DestroyContext() {
    std::lock_guard lock(m_glMutex);
    if (!m_context)
        return;
    if (m_window)
        SDL_GL_MakeCurrent(m_window, nullptr);
    SDL_GL_DeleteContext(m_context);
    m_context = nullptr;
}

void CSdlWindow::Present() {
    std::lock_guard lock(m_glMutex);
    if (m_window && m_context)
        SDL_GL_SwapWindow(m_window);
}

void CSdlWindow::SetSwapInterval(int interval) {
    std::lock_guard lock(m_glMutex);
    // Adaptive vsync (-1) may be refused; plain vsync is the fallback.
    if (m_context && SDL_GL_SetSwapInterval(interval) != 0 && interval < 0)
        SDL_GL_SetSwapInterval(1);
}

// --- geometry and window management ------------------------------------------

SIZE CSdlWindow::GetClientSize() const {
    return SIZE{m_clientWidth.load(), m_clientHeight.load()};
}

void CSdlWindow::UpdateClientSize() {
    std::lock_guard lock(m_glMutex);
    if (!m_window)
        return;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(m_window, &width, &height);
    m_clientWidth = width;
    m_clientHeight = height;
}

void CSdlWindow::SetTitle(const std::string& title) {
    {
        std::lock_guard lock(m_titleMutex);
        m_pendingTitle = title;
        m_titlePending = true;
    }
    // Other threads leave it to the owner's next PumpEvents.
    if (OnOwnerThread())
        ApplyPendingTitle();
}

void CSdlWindow::ApplyPendingTitle() {
    std::string title;
    {
        std::lock_guard lock(m_titleMutex);
        if (!m_titlePending)
            return;
        title = std::move(m_pendingTitle);
        m_titlePending = false;
    }
    std::lock_guard lock(m_glMutex);
    if (m_window)
        SDL_SetWindowTitle(m_window, title.c_str());
}

void CSdlWindow::Show() {
    {
        std::lock_guard lock(m_glMutex);
        if (!m_window)
            return;
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
    }
    // A full-screen window takes the display's size only when it is shown.
    UpdateClientSize();
}

void CSdlWindow::SetTopmost(bool topmost) {
    std::lock_guard lock(m_glMutex);
    if (m_window)
        SDL_SetWindowAlwaysOnTop(m_window, topmost ? SDL_TRUE : SDL_FALSE);
}

void CSdlWindow::ShowCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool CSdlWindow::IsForeground() const {
    return m_foreground.load();
}

POINT CSdlWindow::GetCursorPos() const {
    POINT position;
    SDL_GetGlobalMouseState(&position.x, &position.y);
    return position;
}

void CSdlWindow::PumpEvents() {
    // SDL's event queue may only be read on the thread that owns the window.
    if (!OnOwnerThread())
        return;
    ApplyPendingTitle();
    CSdlVideo::DispatchEvents();
}
