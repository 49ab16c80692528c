#pragma once
// One run of the engine on the output the player chose, with a frame loop
// (listener) that draws into it:
//
// - its own window: CScreen opens an SDL window and runs the message loop
//   (Escape, closing the window and, in screensaver mode, the exit rules end
//   the run);
// - the headless surface: no display needed, for automation and rendering;
// - an X window given by a screensaver daemon, or the root window: drawn
//   into as it is; the run ends when the window is destroyed or on a signal.
//
// With any window but its own, the session is the host that CScreen expects:
// it shows start-up errors (1025), starts and stops the music (5024, 5025)
// and waits for the run's WM_CLOSE.

#include <string>

class CScreenListener;
class COutputWindow;

enum class TOutputKind {
    OwnWindow,
    Headless,
    XWindow,
    XRootWindow
};

struct SOutputChoice {
    TOutputKind kind = TOutputKind::OwnWindow;
    unsigned long windowId = 0;  // XWindow
    int width = 640;             // Headless
    int height = 480;
};

class CPlaybackSession {
public:
    // Runs until the listener's Run returns and the render thread has ended.
    // False, with the reason in error, when the output cannot be opened; the
    // engine's own start-up errors are reported through the error hook and
    // can be read from CScreen::GetErrors().
    static bool Run(const SOutputChoice& output, CScreenListener& listener, std::string& error);

    // Whether an X server or a Wayland compositor is there to open windows on.
    static bool HasDisplay();

private:
    static void RunOnHostWindow(COutputWindow& window, CScreenListener& listener);
};
