#include "core/COwnWindowLoop.h"

#include <string>
#include <utility>

#include "core/CEngineLog.h"
#include "core/ScreenMessages.h"
#include "platform/window/COutputWindow.h"
#include "platform/window/CPlatformRegistry.h"

COwnWindowLoop::COwnWindowLoop(WindowProcedure windowProcedure, StopRequest requestStop)
    : m_WindowProcedure(std::move(windowProcedure)), m_RequestStop(std::move(requestStop)) {}

COwnWindowLoop::~COwnWindowLoop() = default;

bool COwnWindowLoop::CreateOwnWindow(const SOwnWindowRequest& request) {
    // The mode search should see the display's real modes (where the host
    // registered a source for them; otherwise the layer keeps its list).
    std::string error;
    CPlatformRegistry::RefreshDisplayModes(error);

    error.clear();
    std::unique_ptr<COutputWindow> window = CPlatformRegistry::CreateOwnWindow(request, error);
    if (window == nullptr) {
        CEngineLog::Instance().Write("Create Window: %s\n", error.c_str());
        return false;
    }
    m_pOwnWindow = std::move(window);
    return true;
}

HWND COwnWindowLoop::GetOwnWindow() const {
    return m_pOwnWindow.get();
}

bool COwnWindowLoop::CloseOwnWindow() {
    if (m_pOwnWindow == nullptr) {
        return false;
    }
    // The render thread has destroyed its GL context; now the window can go.
    m_pOwnWindow->Close();
    MSG msg;
    while (m_pOwnWindow->PeekMessage(msg, true)) {
        if (msg.message == WM_DESTROY) {
            m_WindowProcedure(m_pOwnWindow.get(), msg.message, msg.wParam, msg.lParam);
        }
    }
    m_pOwnWindow.reset();
    return true;
}

void COwnWindowLoop::BeginRun() {
    m_iMouseMoveCount = 0;
}

void COwnWindowLoop::RunMessageLoop(bool screenSaver) {
    HWND window = m_pOwnWindow.get();
    MSG msg;
    if (window->PeekMessage(msg, false) && msg.message == WM_QUIT) {
        return;
    }
    bool quit = false;
    while (!quit) {
        // Waiting briefly for the next message instead of spinning: the
        // render thread does the drawing, this thread only reacts.
        if (!window->WaitMessage(msg, 10)) {
            continue;
        }
        if (msg.message == WM_QUIT) {
            break;
        }
        quit = ProcessLoopMessage(msg, window, screenSaver);
    }
}

bool COwnWindowLoop::ProcessLoopMessage(const MSG& msg, HWND window, bool screenSaver) {
    HWND target = msg.hwnd != nullptr ? msg.hwnd : window;
    if (!screenSaver) {
        if (!TranslateAccelerator(msg, window)) {
            m_WindowProcedure(target, msg.message, msg.wParam, msg.lParam);
        }
    } else if (msg.message == WM_LUMIVEXIS_PLAY_MUSIC || msg.message == WM_LUMIVEXIS_STOP_MUSIC) {
        // The clock's music requests are no user input: they are handled in
        // screensaver mode too, or the music would not restart on a loop.
        m_WindowProcedure(target, msg.message, msg.wParam, msg.lParam);
    }

    bool quit = false;
    if (msg.message == WM_CLOSE) {
        m_RequestStop();
        CEngineLog::Instance().Write("Receiving a WM_CLOSE message\n");
        quit = true;
    }
    if (screenSaver) {
        ApplyScreenSaverRule(msg, window);
    }
    return quit;
}

bool COwnWindowLoop::TranslateAccelerator(const MSG& msg, HWND window) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) {
        return false;
    }
    m_WindowProcedure(msg.hwnd != nullptr ? msg.hwnd : window, WM_COMMAND, IDM_EXIT, 0);
    return true;
}

bool COwnWindowLoop::ApplyScreenSaverRule(const MSG& msg, HWND window) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        CEngineLog::Instance().Write("Leaving screen saver .. receiving a key or a mouse button message\n");
        m_RequestStop();
        return true;
    case WM_MOUSEMOVE: {
        // Windows sends a few mouse moves when a window appears; only real
        // motion after the first ten ends the screensaver.
        const POINT cursor = window != nullptr ? window->GetCursorPos() : POINT{};
        ++m_iMouseMoveCount;
        const bool moved = cursor.x != m_LastCursor.x || cursor.y != m_LastCursor.y;
        m_LastCursor = cursor;
        if (m_iMouseMoveCount >= 11 && moved) {
            CEngineLog::Instance().Write("Received a mouse move message. LEAVING!\n");
            m_RequestStop();
            return true;
        }
        return false;
    }
    case WM_ACTIVATEAPP:
        if (msg.wParam == 0) {
            m_RequestStop();
            return true;
        }
        return false;
    case WM_POWERBROADCAST:
        if (msg.wParam == PBT_APMSUSPEND) {
            m_RequestStop();
            return true;
        }
        return false;
    default:
        return false;
    }
}
