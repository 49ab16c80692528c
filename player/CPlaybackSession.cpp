#include "CPlaybackSession.h"

#include <cstdlib>
#include <memory>

#include "core/CScreen.h"
#include "platform/headless/CHeadlessWindow.h"
#include "platform/x11/CX11ForeignWindow.h"
#include "scene/CMP3Player.h"

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

}  // namespace

bool CPlaybackSession::HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

bool CPlaybackSession::Run(const SOutputChoice& output, CScreenListener& listener, std::string& error) {
    CScreen& screen = CScreen::Instance();
    switch (output.kind) {
    case TOutputKind::OwnWindow:
        screen.SetWindow(nullptr);
        screen.SetListener(listener);
        // Opens the window, runs the message loop and returns when the run
        // is over; a window that cannot be opened has been reported.
        screen.Display(false);
        return true;
    case TOutputKind::Headless: {
        CHeadlessWindow window(output.width, output.height);
        RunOnHostWindow(window, listener);
        return true;
    }
    case TOutputKind::XWindow:
    case TOutputKind::XRootWindow: {
        std::unique_ptr<CX11ForeignWindow> window = output.kind == TOutputKind::XWindow
                                                        ? CX11ForeignWindow::Create(output.windowId, &error)
                                                        : CX11ForeignWindow::CreateForRoot(&error);
        if (window == nullptr)
            return false;
        RunOnHostWindow(*window, listener);
        return true;
    }
    }
    return false;
}

void CPlaybackSession::RunOnHostWindow(COutputWindow& window, CScreenListener& listener) {
    CScreen& screen = CScreen::Instance();
    screen.SetWindow(&window);
    screen.SetListener(listener);
    screen.Display(false);
    MSG msg;
    for (;;) {
        if (!window.WaitMessage(msg, 20))
            continue;
        if (msg.message == WM_LUMIVEXIS_ERRORS) {
            screen.DisplayErrors();
        } else if (msg.message == WM_LUMIVEXIS_PLAY_MUSIC) {
            screen.GetSound().Play();
        } else if (msg.message == WM_LUMIVEXIS_STOP_MUSIC) {
            screen.GetSound().Stop();
        } else if (msg.message == WM_DESTROY) {
            // The daemon took its window away: end quietly.
            screen.StopRun();
        } else if (msg.message == WM_CLOSE) {
            break;
        }
    }
    screen.WaitForRenderThread();
    screen.SetWindow(nullptr);
}
