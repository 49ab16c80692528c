// ScreenSaver.dat: the Lumivexis player. See CPlayerApp.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CPlayerApp.h"
#include "CSignalWatcher.h"
#include "platform/sdl/SdlPlatform.h"

int main(int argc, char** argv) {
    // Before any thread exists, so that every thread inherits the mask.
    CSignalWatcher::BlockSignals();
    // A screensaver must never keep the screen from blanking or locking.
    setenv("SDL_VIDEO_ALLOW_SCREENSAVER", "1", 1);
    // The player's own window, its settings dialog and the display's modes
    // come from SDL.
    RegisterSdlPlatform();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // Messages name the program as it was started (an exported file has its
    // own name).
    const std::string name = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "ScreenSaver.dat";
    return CPlayerApp(name.empty() ? "ScreenSaver.dat" : name, argc > 0 ? argv[0] : "").Main(arguments);
}
