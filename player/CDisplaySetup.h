#pragma once
// Turns a scene's display format (the trailer an export writes) into the
// settings of CScreen:
//
//   resolution index 0        the desktop's own resolution (full screen)
//   resolution index 1 .. 5   640 x 480, 800 x 600, 1024 x 768, 1280 x 1024, 1600 x 1200
//   flags bit 0               screensaver mode (its exit rules)
//   flags bit 2               windowed, otherwise full screen
//   name                      the window title
//
// A window at "the desktop's resolution" would cover the screen without
// being full screen; such a window opens at 640 x 480 instead. Indices
// outside 0 .. 5 come only from damaged files and are read as 0.

#include "core/CScreen.h"
#include "platform/base/CString.h"
#include "scene/CDisplayFormat.h"

struct SScreenSetup {
    bool useDesktopScreen = true;
    TResolutionEnum resolution = RES_640_480;
    bool screenSaver = false;
    bool fullscreen = true;
    CString title;  // empty: the engine's default title
};

class CDisplaySetup {
public:
    static constexpr int kScreenSaverFlag = 1 << 0;
    static constexpr int kWindowedFlag = 1 << 2;

    static SScreenSetup FromDisplayFormat(const CDisplayFormat& format);
    // Forces a window of the setup's resolution (or full screen at it).
    static SScreenSetup Windowed(SScreenSetup setup);
    static SScreenSetup Fullscreen(SScreenSetup setup);
    // For a window the player does not own (a daemon's window, the headless
    // surface): no full screen, no mode switch, no own exit rules.
    static SScreenSetup ForHostWindow(SScreenSetup setup);
    // Width and height of the setup's resolution; 640 x 480 for the desktop
    // when there is no desktop to ask (the headless surface).
    static void PixelSize(const SScreenSetup& setup, int& width, int& height);

    static void Apply(const SScreenSetup& setup, CScreen& screen);
};
