#include <gtest/gtest.h>

#include "CDisplaySetup.h"
#include "core/CScreen.h"

TEST(DisplaySetup, TrailerValuesBecomeScreenSettings) {
    // Index 0: the desktop's resolution, full screen.
    SScreenSetup setup = CDisplaySetup::FromDisplayFormat(CDisplayFormat(0, 0, "Desk"));
    EXPECT_TRUE(setup.useDesktopScreen);
    EXPECT_TRUE(setup.fullscreen);
    EXPECT_FALSE(setup.screenSaver);
    EXPECT_EQ(setup.title, "Desk");

    // Indices 1 to 5 are 640 x 480 to 1600 x 1200.
    const TResolutionEnum expected[] = {RES_640_480, RES_800_600, RES_1024_768, RES_1280_1024, RES_1600_1200};
    for (int index = 1; index <= 5; ++index) {
        setup = CDisplaySetup::FromDisplayFormat(CDisplayFormat(index, 1, ""));
        EXPECT_FALSE(setup.useDesktopScreen) << index;
        EXPECT_EQ(setup.resolution, expected[index - 1]) << index;
        EXPECT_TRUE(setup.screenSaver) << index;
        EXPECT_TRUE(setup.fullscreen) << index;
    }

    // Bit 2 windowed; other bits do not matter. A window never takes the
    // desktop's size.
    setup = CDisplaySetup::FromDisplayFormat(CDisplayFormat(3, 4 | 2 | 8 | 256, "Win"));
    EXPECT_FALSE(setup.fullscreen);
    EXPECT_FALSE(setup.screenSaver);
    EXPECT_EQ(setup.resolution, RES_1024_768);
    setup = CDisplaySetup::FromDisplayFormat(CDisplayFormat(0, 4, ""));
    EXPECT_FALSE(setup.useDesktopScreen);
    EXPECT_EQ(setup.resolution, RES_640_480);
    int width = 0, height = 0;
    CDisplaySetup::PixelSize(setup, width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);

    // Damaged indices read as the desktop.
    for (int index : {-1, 6, 1000}) {
        EXPECT_TRUE(CDisplaySetup::FromDisplayFormat(CDisplayFormat(index, 0, "")).useDesktopScreen) << index;
    }

    CScreen& screen = CScreen::Instance();
    CDisplaySetup::Apply(CDisplaySetup::FromDisplayFormat(CDisplayFormat(5, 1, "Saver")), screen);
    EXPECT_EQ(screen.GetResolution(), RES_1600_1200);
    EXPECT_EQ(screen.GetXResolution(), 1600);
    EXPECT_TRUE(screen.GetFullscreen());
    EXPECT_TRUE(screen.GetScreenSaverMode());
    CDisplaySetup::Apply(CDisplaySetup::FromDisplayFormat(CDisplayFormat(2, 4, "")), screen);
    EXPECT_EQ(screen.GetXResolution(), 800);
    EXPECT_FALSE(screen.GetFullscreen());
    EXPECT_FALSE(screen.GetScreenSaverMode());
}

TEST(DisplaySetup, OverridesAndHostWindows) {
    const SScreenSetup saver = CDisplaySetup::FromDisplayFormat(CDisplayFormat(0, 1, ""));
    const SScreenSetup windowed = CDisplaySetup::Windowed(saver);
    EXPECT_FALSE(windowed.fullscreen);
    EXPECT_FALSE(windowed.useDesktopScreen);
    EXPECT_TRUE(windowed.screenSaver);
    EXPECT_TRUE(CDisplaySetup::Fullscreen(CDisplaySetup::FromDisplayFormat(CDisplayFormat(2, 4, ""))).fullscreen);
    // In a daemon's window the daemon handles input: no own exit rules.
    const SScreenSetup hosted = CDisplaySetup::ForHostWindow(saver);
    EXPECT_FALSE(hosted.fullscreen);
    EXPECT_FALSE(hosted.screenSaver);
}

// The exit rules themselves belong to the engine's window loop; here they
// are fed synthetic input after the player configured a screensaver run.
TEST(DisplaySetup, AScreensaverFormatTurnsOnTheExitRules) {
    CScreen& screen = CScreen::Instance();
    ASSERT_TRUE(screen.IsRunning());
    CDisplaySetup::Apply(CDisplaySetup::FromDisplayFormat(CDisplayFormat(1, 1, "")), screen);
    ASSERT_TRUE(screen.GetScreenSaverMode());

    const auto send = [&screen](UINT message, WPARAM wParam = 0) {
        screen.ProcessLoopMessage(MSG{nullptr, message, wParam, 0});
    };
    // Mouse moves without motion, key releases and music requests are no reason to stop.
    for (int i = 0; i < 15; ++i)
        send(WM_MOUSEMOVE);
    send(WM_KEYUP, 'A');
    send(WM_LUMIVEXIS_STOP_MUSIC);
    send(WM_ACTIVATEAPP, 1);
    EXPECT_TRUE(screen.IsRunning());
    // A key press ends it at once.
    send(WM_KEYDOWN, 'A');
    EXPECT_FALSE(screen.IsRunning());
}
