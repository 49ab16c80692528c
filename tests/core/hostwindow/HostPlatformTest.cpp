// The engine's platform pieces come from the host. This program links no
// window system of the engine's own: it stands for a host such as the editor,
// which plays on its own output window and registers its own implementations
// of what the engine may ask for (its own window, the settings dialog, the
// display's modes).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenListener.h"
#include "core/CScreenRunner.h"
#include "platform/d3d8/d3d8.h"
#include "platform/window/CPlatformRegistry.h"
#include "support/CErrorCapture.h"
#include "support/CTempFolder.h"

namespace {

// Draws a few frames and returns, which ends the run.
class CFrameListener : public CScreenListener {
public:
    void Run() override {
        CScreen& screen = CScreen::Instance();
        while (screen.IsRunning() && frames < 3) {
            screen.GetTickCount();
            screen.BeginScene(true);
            screen.EndScene(true);
            ++frames;
        }
    }
    int frames = 0;
};

class HostPlatformTest : public testing::Test {
protected:
    void SetUp() override {
        CTempFolder::EnterPrivateWorkingFolder();
        CScreen& screen = CScreen::Instance();
        screen.SetFullscreen(false);
        screen.SetUseDesktopScreen(false);
        screen.SetResolution(RES_640_480);
        screen.ViewInfo(false);
        m_logStart = coretest::ReadLog().size();
    }
    void TearDown() override {
        CPlatformRegistry::RegisterOwnWindow(nullptr);
        CPlatformRegistry::RegisterSettingsDialog(nullptr);
        CPlatformRegistry::RegisterDisplayModeSource(nullptr);
        CScreen::Instance().SetWindow(nullptr);
        CScreen::Instance().SetTitle("Lumivexis Output window");
    }
    size_t m_logStart = 0;
};

TEST_F(HostPlatformTest, RunsOnTheHostsOutputWindowWithNothingRegistered) {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f});
    coretest::CTestWindow window(40, 30);
    CScreenRunner runner(window);
    CErrorCapture errors;
    ASSERT_TRUE(runner.RunFrames(2, nullptr));

    EXPECT_EQ(runner.Pixel(20, 15), 0xFF0000FFu);
    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_TRUE(screen.GetErrors().empty());
}

TEST_F(HostPlatformTest, WithoutARegisteredWindowADisplayWithNoWindowFailsCleanly) {
    CScreen& screen = CScreen::Instance();
    CFrameListener listener;
    screen.SetWindow(nullptr);
    screen.SetListener(listener);
    CErrorCapture errors;
    screen.Display(false);

    EXPECT_EQ(listener.frames, 0);
    EXPECT_EQ(screen.GetWindow(), nullptr);
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_EQ(errors.Texts()[0], "Unable to initialize the 3D Window. Leaving.");
    const std::string log = coretest::LogSince(m_logStart);
    EXPECT_NE(log.find("Create Window: no window system is registered for the engine's own window\n"),
              std::string::npos)
        << log;
}

TEST_F(HostPlatformTest, TheEnginesOwnWindowIsTheOneTheHostRegistered) {
    SOwnWindowRequest seen;
    bool modesAsked = false;
    CPlatformRegistry::RegisterDisplayModeSource([&](std::string&) {
        modesAsked = true;
        return true;
    });
    CPlatformRegistry::RegisterOwnWindow([&](const SOwnWindowRequest& request, std::string&) {
        seen = request;
        return std::make_unique<coretest::CTestWindow>(request.width / 10, request.height / 10);
    });
    CScreen& screen = CScreen::Instance();
    screen.SetTitle("Host title");
    screen.SetResolution(RES_800_600);
    screen.SetWindow(nullptr);
    CFrameListener listener;
    screen.SetListener(listener);
    CErrorCapture errors;
    screen.Display(false);  // returns when the run is over: the listener ends it

    EXPECT_TRUE(modesAsked);
    EXPECT_EQ(seen.title, "Host title");
    EXPECT_EQ(seen.width, 800);
    EXPECT_EQ(seen.height, 600);
    EXPECT_EQ(seen.mode, TOwnWindowMode::Windowed);
    EXPECT_FALSE(seen.topmost);
    EXPECT_EQ(listener.frames, 3);
    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_EQ(screen.GetWindow(), nullptr);  // the own window is gone again
    const std::string log = coretest::LogSince(m_logStart);
    EXPECT_NE(log.find("Create Window::Success\n"), std::string::npos) << log;
    EXPECT_NE(log.find("CLEAN UP FULL DONE!"), std::string::npos) << log;
}

TEST_F(HostPlatformTest, FullScreenAtAModeTheDisplayLacksOpensAWindowAtTheDesktopsMode) {
    // The display (as the host's mode source reports it) has only its
    // desktop mode.
    CPlatformRegistry::RegisterDisplayModeSource([](std::string&) {
        D3D8SetAdapterModes({{128, 96, 60, D3DFMT_X8R8G8B8}}, {128, 96, 60, D3DFMT_X8R8G8B8});
        return true;
    });
    std::vector<TOwnWindowMode> modes;
    CPlatformRegistry::RegisterOwnWindow([&](const SOwnWindowRequest& request, std::string&) {
        modes.push_back(request.mode);
        return std::make_unique<coretest::CTestWindow>(128, 96);
    });
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(true);
    screen.SetWindow(nullptr);
    CFrameListener listener;
    screen.SetListener(listener);
    CErrorCapture errors;
    screen.SetResolution(RES_1600_1200);
    screen.Display(false);
    // A mode the display has is switched to.
    screen.SetResolution(RES_640_480);
    CPlatformRegistry::RegisterDisplayModeSource([](std::string&) {
        D3D8SetAdapterModes({{640, 480, 60, D3DFMT_X8R8G8B8}}, {128, 96, 60, D3DFMT_X8R8G8B8});
        return true;
    });
    CFrameListener second;
    screen.SetListener(second);
    screen.Display(false);
    screen.SetFullscreen(false);
    D3D8ResetAdapterModes();

    EXPECT_EQ(modes, (std::vector<TOwnWindowMode>{TOwnWindowMode::FullscreenDesktop, TOwnWindowMode::Fullscreen}));
    EXPECT_EQ(listener.frames, 3);
    EXPECT_EQ(second.frames, 3);
    EXPECT_EQ(errors.Count(), 0u);
    const std::string log = coretest::LogSince(m_logStart);
    EXPECT_NE(log.find("Create Window: the display offers no 1600 x 1200 mode: full screen at the desktop's mode\n"),
              std::string::npos)
        << log;
}

TEST_F(HostPlatformTest, TheSettingsDialogIsTheHostsAndItsAnswerIsApplied) {
    CScreen& screen = CScreen::Instance();
    screen.SetResolution(RES_640_480);
    screen.SetColorDepth(1);
    // Nothing registered: the settings stay and the log says why.
    screen.DisplayResolutionDlg();
    EXPECT_EQ(screen.GetResolution(), RES_640_480);
    EXPECT_NE(coretest::LogSince(m_logStart).find("no settings dialog is registered"), std::string::npos);

    SDisplaySettings shown;
    CPlatformRegistry::RegisterSettingsDialog([&](SDisplaySettings& settings, std::string&) {
        shown = settings;
        settings.resolution = RES_1024_768;
        settings.colorDepth = 0;
        return true;
    });
    screen.DisplayResolutionDlg();
    EXPECT_EQ(shown.resolution, RES_640_480);
    EXPECT_EQ(shown.colorDepth, 1);
    EXPECT_EQ(screen.GetResolution(), RES_1024_768);
    EXPECT_EQ(screen.GetColorDepth(), 0);

    // Cancel leaves everything as it was.
    CPlatformRegistry::RegisterSettingsDialog([](SDisplaySettings& settings, std::string&) {
        settings.resolution = RES_1600_1200;
        return false;
    });
    screen.DisplayResolutionDlg();
    EXPECT_EQ(screen.GetResolution(), RES_1024_768);
    screen.SetResolution(RES_640_480);
    screen.SetColorDepth(1);
}

}  // namespace
