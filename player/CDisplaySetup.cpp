#include "CDisplaySetup.h"

namespace {

constexpr int kWidths[] = {640, 800, 1024, 1280, 1600};
constexpr int kHeights[] = {480, 600, 768, 1024, 1200};

}  // namespace

SScreenSetup CDisplaySetup::FromDisplayFormat(const CDisplayFormat& format) {
    SScreenSetup setup;
    const int index = format.m_iResolution;
    const bool known = index >= 1 && index <= 5;
    setup.useDesktopScreen = !known;
    setup.resolution = known ? static_cast<TResolutionEnum>(index - 1) : RES_640_480;
    setup.screenSaver = (format.m_iFlags & kScreenSaverFlag) != 0;
    const bool windowed = (format.m_iFlags & kWindowedFlag) != 0;
    setup.fullscreen = !windowed;
    if (windowed)
        setup.useDesktopScreen = false;
    setup.title = format.m_Name;
    return setup;
}

SScreenSetup CDisplaySetup::Windowed(SScreenSetup setup) {
    setup.fullscreen = false;
    setup.useDesktopScreen = false;
    return setup;
}

SScreenSetup CDisplaySetup::Fullscreen(SScreenSetup setup) {
    setup.fullscreen = true;
    return setup;
}

SScreenSetup CDisplaySetup::ForHostWindow(SScreenSetup setup) {
    setup = Windowed(setup);
    setup.screenSaver = false;
    return setup;
}

void CDisplaySetup::PixelSize(const SScreenSetup& setup, int& width, int& height) {
    const int index = setup.useDesktopScreen ? 0 : static_cast<int>(setup.resolution);
    width = kWidths[index];
    height = kHeights[index];
}

void CDisplaySetup::Apply(const SScreenSetup& setup, CScreen& screen) {
    screen.SetUseDesktopScreen(setup.useDesktopScreen);
    screen.SetResolution(setup.resolution);
    screen.SetFullscreen(setup.fullscreen);
    screen.SetScreenSaverMode(setup.screenSaver);
    if (!setup.title.empty())
        screen.SetTitle(setup.title);
}
