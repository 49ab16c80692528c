#pragma once
// The player's command line. Screensaver daemons start their savers in
// several ways, all of which are understood:
//
//   ScreenSaver.dat                          the packed scene of the program itself
//   ScreenSaver.dat scene.bgs                a scene file or package
//   ScreenSaver.dat --window-id 0x2a00007    draw into that X window (MATE, Xfce)
//   XSCREENSAVER_WINDOW=0x2a00007 ScreenSaver.dat    (xscreensaver 6, xsecurelock)
//   ScreenSaver.dat --root                   draw on the root window
//
// Flags take one dash or two ("-root", "--root"); values follow as the next
// argument or after "=". The window comes from --window-id first, then from
// XSCREENSAVER_WINDOW (which is the daemon's virtual root, and so also what
// --root means when it is set), then from --root; without any of them the
// player opens its own window.

#include <string>
#include <vector>

enum class TPlayerAction {
    Play,
    Settings,
    Help,
    Version
};

enum class TOutputTarget {
    OwnWindow,  // a window of the player's own (or the headless surface)
    WindowId,   // an X window given by the daemon
    Root,       // the root window of the default screen
};

enum class TWindowOverride {
    FromScene,
    Windowed,
    Fullscreen
};

struct SPlayerOptions {
    TPlayerAction action = TPlayerAction::Play;
    // Empty: the scene packed behind the player's own program image.
    std::string scenePath;
    TOutputTarget target = TOutputTarget::OwnWindow;
    unsigned long windowId = 0;
    // Frames to draw before the run ends by itself; 0 = until it is ended.
    int frames = 0;
    // The last frame is written there as a PNG image.
    std::string screenshotPath;
    TWindowOverride window = TWindowOverride::FromScene;
};

class CPlayerOptions {
public:
    // arguments: argv without the program name. screensaverWindow: the value
    // of XSCREENSAVER_WINDOW, or null when it is not set. False with a
    // one-line reason in error on a usage error.
    static bool Parse(const std::vector<std::string>& arguments, const char* screensaverWindow, SPlayerOptions& options,
                      std::string& error);

    // An X window id as daemons write it: hexadecimal with "0x", or decimal.
    // False for anything else, for 0 and for values beyond 32 bits.
    static bool ParseWindowId(const std::string& text, unsigned long& id);

    static std::string Usage(const std::string& program);
};
