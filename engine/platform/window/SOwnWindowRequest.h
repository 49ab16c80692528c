#pragma once
// What the engine asks for when it opens a window of its own (a host that
// gives it no window): the title, the size and how the window covers the
// display.

#include <string>

enum class TOwnWindowMode {
    Windowed,           // a framed window with a client area of width x height
    Fullscreen,         // the display switches to width x height
    FullscreenDesktop,  // covers the display at its current mode
};

struct SOwnWindowRequest {
    std::string title;
    TOwnWindowMode mode = TOwnWindowMode::Windowed;
    int width = 640;  // client size (windowed) or display mode (full screen)
    int height = 480;
    bool topmost = false;  // stays above other windows (screensavers)
};
