// A run on a host window (the headless surface): start-up, frames, the
// messages the host receives, clean-up and the log of it all.

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenListener.h"
#include "core/CScreenRunner.h"
#include "support/CErrorCapture.h"

namespace {

class HeadlessRunTest : public testing::Test {
protected:
    void SetUp() override {
        CTempFolder::EnterPrivateWorkingFolder();
        CScreen& screen = CScreen::Instance();
        screen.SetFullscreen(false);
        screen.SetUseDesktopScreen(false);
        screen.SetResolution(RES_640_480);
        screen.ViewInfo(false);
        screen.SetShowFPS(false);
        screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f});
        m_logStart = coretest::ReadLog().size();
    }
    size_t m_logStart = 0;
};

TEST_F(HeadlessRunTest, RendersFramesOnTheHostWindowAndCleansUp) {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 1.0f, 0.0f, 1.0f});
    coretest::CTestWindow window(48, 32);
    CScreenRunner runner(window);
    bool initializedDuringRun = false;
    SIZE clientSeenByEngine{};
    ASSERT_TRUE(runner.RunFrames(3, [&](int) {
        initializedDuringRun = screen.IsInitialized();
        clientSeenByEngine = screen.GetWindow()->GetClientSize();
    }));

    EXPECT_TRUE(initializedDuringRun);
    EXPECT_EQ(clientSeenByEngine.cx, 48);
    EXPECT_EQ(runner.FramesRun(), 3);
    // Windowed: the back buffer is the window's client area.
    ASSERT_EQ(runner.Width(), 48);
    ASSERT_EQ(runner.Height(), 32);
    EXPECT_EQ(runner.Pixel(24, 16), 0xFF00FF00u);
    EXPECT_EQ(runner.Pixel(47, 31), 0xFF00FF00u);
    // The run ends with WM_CLOSE and nothing else for a clean start.
    ASSERT_FALSE(runner.Messages().empty());
    EXPECT_EQ(runner.Messages().back(), static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(screen.GetD3DDevice(), nullptr);
    EXPECT_TRUE(screen.GetErrors().empty());

    const std::string log = coretest::LogSince(m_logStart);
    const char* expectedInOrder[] = {
        "Register Window Class\n",
        "Register Window Value: 48\n",
        "Show the window\n",
        "Start the gfx thread\n",
        "CScreen::InitD3D => Start\n",
        "CScreen::InitD3DDevice => start...\n",
        "CScreen::InitD3DDevice => Reset3DDevice\n",
        "CScreen::InitD3DDevice => Reset3DDevice:: FAILED\n",
        "CScreen::InitD3DDevice => Create Mixed Vertex Processing \n",
        "CScreen::InitD3DDevice => Try to create the device...\n",
        "Settings:\nhWnd:0\nbehavior:132\nm_d3dpp.BackBufferWidth:0\nm_d3dpp.BackBufferHeight:0\n"
        "m_d3dpp.BackBufferFormat:22\nm_d3dpp.BackBufferCount:0\nm_d3dpp.MultiSampleType:0\n"
        "m_d3dpp.SwapEffect:4\nm_d3dpp.hDeviceWindow:0\nm_d3dpp.Windowed:1\n"
        "m_d3dpp.EnableAutoDepthStencil:1\nm_d3dpp.AutoDepthStencilFormat:80\nm_d3dpp.Flags:0\n"
        "m_d3dpp.FullScreen_RefreshRateInHz:0\nm_d3dpp.FullScreen_PresentationInterval:0\n",
        "CScreen::InitD3DDevice => 3d device creation OK\n",
        "CScreen::InitD3DDevice => Free mem:",
        "CScreen::InitD3DDevice => returns OK\n",
        "CScreen::CleanUp...\n",
        "CLEAN UP FULL DONE!",
    };
    size_t position = 0;
    for (const char* line : expectedInOrder) {
        const size_t found = log.find(line, position);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\nlog:\n" << log;
        position = found + 1;
    }
    // A host window: no own window, no message loop, no mode search.
    EXPECT_EQ(log.find("own window"), std::string::npos);
    EXPECT_EQ(log.find("Enter the message loop"), std::string::npos);
    EXPECT_EQ(log.find("Test Screen Modes"), std::string::npos);
}

class CThrowingListener : public CScreenListener {
public:
    void Run() override {
        CScreen::Instance().BeginScene(true);
        CScreen::Instance().EndScene(true);
        throw std::runtime_error("host failure");
    }
};

TEST_F(HeadlessRunTest, AnExceptionLeavingRunStillCleansUpAndARunCanFollow) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(16, 16);
    CThrowingListener listener;
    screen.SetWindow(&window);
    screen.SetListener(listener);
    screen.Display(false);
    MSG msg;
    while (!(window.WaitMessage(msg, 50) && msg.message == WM_CLOSE)) {
    }
    screen.WaitForRenderThread();
    EXPECT_EQ(screen.GetD3DDevice(), nullptr);
    EXPECT_NE(coretest::LogSince(m_logStart).find("CLEAN UP FULL DONE!"), std::string::npos);

    // The singleton runs again on another window.
    coretest::CTestWindow second(8, 8);
    CScreenRunner runner(second);
    EXPECT_TRUE(runner.RunFrames(1, nullptr));
    EXPECT_EQ(runner.Width(), 8);
}

}  // namespace
