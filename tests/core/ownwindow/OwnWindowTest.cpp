// Display without a host window: the engine opens its own SDL window, runs
// the message loop on the calling thread and returns when the run is over.
// The listener plays the user by posting window messages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenListener.h"
#include "scene/CMP3Player.h"
#include "support/CErrorCapture.h"
#include "support/CScreenStateGuard.h"

// After the engine's headers: Xlib defines macros such as None and Status.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using testing::HasSubstr;

namespace {

// Draws frames; at frame 3 posts `message` to the output window. Gives up
// after many frames so that a broken loop fails instead of hanging.
class CPostingListener : public CScreenListener {
public:
    CPostingListener(UINT message, WPARAM wParam) : m_message(message), m_wParam(wParam) {}
    void Run() override {
        CScreen& screen = CScreen::Instance();
        while (screen.IsRunning() && frames < 2000) {
            screen.GetTickCount();
            screen.BeginScene(true);
            screen.EndScene(true);
            if (++frames == 3) {
                if (m_atFrame3)
                    m_atFrame3();
                screen.GetWindow()->PostMessage(m_message, m_wParam, 0);
            }
        }
    }
    // Called on the render thread after frame 3 was presented.
    void AtFrame3(std::function<void()> check) { m_atFrame3 = std::move(check); }
    int frames = 0;

private:
    UINT m_message;
    WPARAM m_wParam;
    std::function<void()> m_atFrame3;
};

// What the X server shows at (x, y) of its screen, 0x00RRGGBB.
unsigned long ScreenPixel(int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 0;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long pixel = image != nullptr ? XGetPixel(image, 0, 0) : 0;
    if (image != nullptr)
        XDestroyImage(image);
    XCloseDisplay(display);
    return pixel;
}

class OwnWindowTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.SetWindow(nullptr);
        screen.SetFullscreen(false);
        screen.SetResolution(RES_640_480);
        screen.ViewInfo(true);
        m_logStart = coretest::ReadLog().size();
    }
    size_t m_logStart = 0;
    CScreenStateGuard m_screenState;
};

TEST_F(OwnWindowTest, EscapeClosesTheOwnWindowThroughTheExitCommand) {
    CScreen& screen = CScreen::Instance();
    CPostingListener listener(WM_KEYDOWN, VK_ESCAPE);
    screen.SetListener(listener);
    CErrorCapture errors;
    screen.Display(false);

    EXPECT_GE(listener.frames, 3);
    EXPECT_LT(listener.frames, 2000);
    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_EQ(screen.GetWindow(), nullptr);  // the own window is gone
    const std::string log = coretest::LogSince(m_logStart);
    size_t position = 0;
    for (const char* line :
         {"m_hwnd==NULL :: own window\n", "Create Window\n", "Create Window::Success\n", "Show the window\n",
          "Start the gfx thread\n", "Enter the message loop...\n", "CScreen::InitD3DDevice => 3d device creation OK\n",
          "Receiving a IDM_EXIT message\n", "Receiving a WM_CLOSE message\n", "CLEAN UP FULL DONE!",
          "Receiving a WM_CLOSE message\n", "Receiving a WM_CLOSE message\n", "Receiving a WM_DESTROY message\n"}) {
        const size_t found = log.find(line, position);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\nlog:\n" << log;
        position = found + 1;
    }
    // The own window's client area is the requested resolution.
    EXPECT_THAT(log, HasSubstr("hWnd:"));
    EXPECT_THAT(log, testing::Not(HasSubstr("hWnd:0\n")));
}

TEST_F(OwnWindowTest, FullScreenAtTheDesktopsSizeCoversTheScreenWithoutAWindowManager) {
    // The private X server (1280 x 1024, black) has no window manager that
    // would resize the window: it must be made at the screen's size.
    CScreen& screen = CScreen::Instance();
    screen.SetUseDesktopScreen(true);
    screen.SetFullscreen(true);
    screen.ViewInfo(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 1.0f, 1.0f});
    CPostingListener listener(WM_KEYDOWN, VK_ESCAPE);
    std::vector<unsigned long> corners;
    listener.AtFrame3([&corners] {
        for (const auto& [x, y] : {std::pair{0, 0}, {1279, 0}, {0, 1023}, {1279, 1023}})
            corners.push_back(ScreenPixel(x, y));
    });
    screen.SetListener(listener);
    CErrorCapture errors;
    screen.Display(false);

    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_THAT(corners, testing::Each(0x0000FFul));
    EXPECT_THAT(coretest::LogSince(m_logStart),
                HasSubstr("m_d3dpp.BackBufferWidth:1280\nm_d3dpp.BackBufferHeight:1024\n"));
}

TEST_F(OwnWindowTest, AButtonPressEndsTheScreensaver) {
    CScreen& screen = CScreen::Instance();
    screen.SetScreenSaverMode(true);
    CPostingListener listener(WM_LBUTTONDOWN, 0);
    screen.SetListener(listener);
    screen.Display(false);
    EXPECT_LT(listener.frames, 2000);
    const std::string log = coretest::LogSince(m_logStart);
    EXPECT_THAT(log, HasSubstr("Leaving screen saver .. receiving a key or a mouse button message\n"));
    EXPECT_THAT(log, testing::Not(HasSubstr("IDM_EXIT")));
}

TEST_F(OwnWindowTest, TheOwnWindowPlaysAndStopsTheMusicOnRequest) {
    CScreen& screen = CScreen::Instance();
    std::vector<CString> commands;
    screen.GetSound().SetCommandSender([&](const CString& command) {
        commands.push_back(command);
        return MMSYSERR_NOERROR;
    });
    screen.GetSound().SetEnable(true);
    // The render thread asks for the music and then closes the window.
    struct CTwoMessages : CScreenListener {
        void Run() override {
            CScreen& s = CScreen::Instance();
            for (int frame = 0; s.IsRunning() && frame < 2000; ++frame) {
                s.BeginScene(true);
                s.EndScene(true);
                if (frame == 2)
                    s.GetWindow()->PostMessage(WM_LUMIVEXIS_PLAY_MUSIC);
                if (frame == 4)
                    s.GetWindow()->PostMessage(WM_LUMIVEXIS_STOP_MUSIC);
                if (frame == 6)
                    s.GetWindow()->PostMessage(WM_CLOSE);
            }
        }
    } twoMessages;
    screen.SetListener(twoMessages);
    screen.Display(false);
    screen.GetSound().SetEnable(false);
    screen.GetSound().SetCommandSender(nullptr);
    ASSERT_GE(commands.size(), 2u);
    EXPECT_THAT(commands[0], testing::StartsWith("play mp3 from "));
    EXPECT_EQ(commands[1], "stop mp3");
}

}  // namespace
