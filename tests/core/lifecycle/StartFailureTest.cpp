// Start-up failures and the full-screen mode search: what the log says, which
// errors are collected, that the host gets message 1025 and what
// DisplayErrors shows.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/d3d8/d3d8.h"
#include "support/CErrorCapture.h"
#include "support/CScreenStateGuard.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

constexpr const char* kNoDirect3D = "Error: Unable to init Direct3D. Please install DirectX 8.1 or better.";

class StartFailureTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.SetFullscreen(false);
        screen.SetUseDesktopScreen(false);
        screen.SetResolution(RES_640_480);
        screen.SetColorDepth(1);
        screen.ViewInfo(false);
        m_logStart = coretest::ReadLog().size();
    }
    void TearDown() override {
        D3D8FailDirect3DCreate(false);
        D3D8FailGetAdapterDisplayMode(false);
        D3D8FailCreateDevice(S_OK, 0);
        D3D8ResetAdapterModes();
    }
    std::string Log() const { return coretest::LogSince(m_logStart); }
    static bool Has(const std::vector<UINT>& messages, UINT message) {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

    size_t m_logStart = 0;
    CScreenStateGuard m_screenState;
};

TEST_F(StartFailureTest, WithoutDirect3DTheRunEndsWithOneJoinedErrorAndMessage1025) {
    D3D8FailDirect3DCreate(true);
    CErrorCapture errors;
    coretest::CTestWindow window(16, 16);
    CScreenRunner runner(window);
    bool frameRan = false;
    EXPECT_FALSE(runner.RunFrames(1, [&](int) { frameRan = true; }));

    EXPECT_FALSE(frameRan);
    EXPECT_TRUE(CScreen::Instance().IsInitialized());
    EXPECT_THAT(CScreen::Instance().GetErrors(), ElementsAre(kNoDirect3D));
    // 1025 first, then the WM_CLOSE that ends every run.
    EXPECT_THAT(runner.Messages(), ElementsAre(WM_LUMIVEXIS_ERRORS, static_cast<UINT>(WM_CLOSE)));
    ASSERT_EQ(errors.Count(), 1u);
    // The error texts as written, and a line that tells what to install on Linux.
    EXPECT_EQ(errors.Texts()[0], std::string("Errors occured during the DirectX Initialization:\n - ") + kNoDirect3D +
                                     "\nOn Linux the engine draws with OpenGL 3.3 or later: install Mesa's OpenGL "
                                     "drivers (Debian and Ubuntu: libgl1-mesa-dri and libegl-mesa0).");
    EXPECT_EQ(errors.Icons()[0], ErrorIcon::Error);

    const std::string log = Log();
    EXPECT_THAT(log, HasSubstr("CScreen::InitD3D => Start\nCScreen::InitD3D => Unable to create m_pD3D\n"));
    EXPECT_THAT(log, Not(HasSubstr("CLEAN UP FULL DONE!")));
    EXPECT_THAT(log, Not(HasSubstr("InitD3DDevice")));
}

TEST_F(StartFailureTest, DeviceCreationRetriesWithSoftwareProcessingOnce) {
    // One failure: the software retry succeeds and the run goes on.
    D3D8FailCreateDevice(D3DERR_INVALIDCALL, 1);
    coretest::CTestWindow window(16, 16);
    CScreenRunner runner(window);
    EXPECT_TRUE(runner.RunFrames(1, nullptr));
    std::string log = Log();
    EXPECT_THAT(log, HasSubstr("CScreen::InitD3DDevice => Try to create the device: FAILED, then try to create a "
                               "software vertex processing device...\nCScreen::InitD3DDevice => D3DERR_INVALIDCALL\n"
                               "CScreen::InitD3DDevice => 3d device creation OK\n"));
    EXPECT_FALSE(Has(runner.Messages(), WM_LUMIVEXIS_ERRORS));

    // Two failures: the device error by its code, then the general one.
    m_logStart = coretest::ReadLog().size();
    D3D8FailCreateDevice(D3DERR_NOTAVAILABLE, 2);
    CErrorCapture errors;
    EXPECT_FALSE(runner.RunFrames(1, nullptr));
    EXPECT_THAT(CScreen::Instance().GetErrors(),
                ElementsAre("Unable to init Direct3D device: The requested screen mode is not available on your "
                            "graphic card.",
                            kNoDirect3D));
    EXPECT_TRUE(Has(runner.Messages(), WM_LUMIVEXIS_ERRORS));
    log = Log();
    EXPECT_THAT(log, HasSubstr("CScreen::InitD3DDevice => D3DERR_NOTAVAILABLE \n"));
    EXPECT_THAT(log, HasSubstr("CScreen::InitD3DDevice => then try to create a software vertex processing device: "
                               "FAILED TOO! LEAVING!!\n"));

    // Codes without a text of their own add only the general error.
    D3D8FailCreateDevice(E_FAIL, 2);
    EXPECT_FALSE(runner.RunFrames(1, nullptr));
    EXPECT_THAT(CScreen::Instance().GetErrors(), ElementsAre(kNoDirect3D));

    D3D8FailCreateDevice(D3DERR_OUTOFVIDEOMEMORY, 2);
    EXPECT_FALSE(runner.RunFrames(1, nullptr));
    EXPECT_THAT(CScreen::Instance().GetErrors(),
                ElementsAre("Unable to init Direct3D device: Out of memory.", kNoDirect3D));
}

TEST_F(StartFailureTest, UnreadableAdapterModeIsAStartUpError) {
    D3D8FailGetAdapterDisplayMode(true);
    CErrorCapture errors;
    coretest::CTestWindow window(16, 16);
    CScreenRunner runner(window);
    EXPECT_FALSE(runner.RunFrames(1, nullptr));
    EXPECT_THAT(CScreen::Instance().GetErrors(),
                ElementsAre("Error: Unable to retrieve the current adapter display mode.", kNoDirect3D));
    EXPECT_THAT(Log(), HasSubstr("CScreen::InitD3DDevice => unable to retrieve the current adapter mode... LEAVING\n"));
}

TEST_F(StartFailureTest, FullScreenModeSearchFallsBackToX8R8G8B8) {
    D3D8SetAdapterModes({{800, 600, 60, D3DFMT_A8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}},
                        {1280, 1024, 60, D3DFMT_X8R8G8B8});
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(true);
    screen.SetResolution(RES_1024_768);
    screen.SetColorDepth(0);
    coretest::CTestWindow window(1024, 768);
    CScreenRunner runner(window);
    EXPECT_TRUE(runner.RunFrames(1, nullptr));
    EXPECT_EQ(runner.Width(), 1024);
    EXPECT_EQ(runner.Height(), 768);

    const std::string log = Log();
    EXPECT_THAT(log, HasSubstr("CScreen::InitD3D => Test Screen Modes [m_bUseDesktopScreen=0] [m_bFullscreen=1]\n"
                               "CScreen::InitD3D => Mode Count Number=2\n"
                               "Looking for mode: width=1024 height=768 format=21\n"
                               "Mode found: width=800 height=600 format=21\n"
                               "Mode found: width=1024 height=768 format=22\n"
                               "Not found so Looking for mode: width=1024 height=768 format=22\n"
                               "Mode found: width=800 height=600 format=21\n"
                               "Mode found: width=1024 height=768 format=22\n"
                               "CScreen::InitD3D => Mode Found!\n"
                               "CScreen::InitD3DDevice => start...\n"));
    // The colour depth, not the mode found, picks the back-buffer format.
    EXPECT_THAT(log, HasSubstr("m_d3dpp.BackBufferWidth:1024\nm_d3dpp.BackBufferHeight:768\n"
                               "m_d3dpp.BackBufferFormat:23\n"));
    EXPECT_THAT(log, HasSubstr("m_d3dpp.SwapEffect:2\n"));
    EXPECT_THAT(log, HasSubstr("m_d3dpp.Windowed:0\n"));
    EXPECT_THAT(log, HasSubstr("m_d3dpp.FullScreen_PresentationInterval:1\n"));
}

TEST_F(StartFailureTest, FullScreenWithoutTheModeRunsAtTheDesktopsMode) {
    // A saver made for a 4:3 monitor: the wide display lacks 1024 x 768.
    D3D8SetAdapterModes({{800, 500, 60, D3DFMT_X8R8G8B8}}, {800, 500, 60, D3DFMT_X8R8G8B8});
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(true);
    screen.SetResolution(RES_1024_768);
    CErrorCapture errors;
    coretest::CTestWindow window(800, 500);
    CScreenRunner runner(window);
    D3DXMATRIX projection;
    EXPECT_TRUE(runner.RunFrames(1, [&](int) { projection = screen.GetProjMatrix(); }));
    EXPECT_EQ(errors.Count(), 0u);
    EXPECT_TRUE(screen.GetErrors().empty());
    EXPECT_FALSE(Has(runner.Messages(), WM_LUMIVEXIS_ERRORS));
    // The back buffer and the projection take the desktop's size.
    EXPECT_EQ(runner.Width(), 800);
    EXPECT_EQ(runner.Height(), 500);
    EXPECT_NEAR(projection._22 / projection._11, 800.0f / 500.0f, 1e-4f);
    const std::string log = Log();
    EXPECT_THAT(log, HasSubstr("CScreen::InitD3D => No Valid Mode Found! Using the desktop's mode instead\n"
                               "CScreen::InitD3DDevice => start...\n"));
    EXPECT_THAT(log, HasSubstr("m_d3dpp.BackBufferWidth:800\nm_d3dpp.BackBufferHeight:500\n"));
    EXPECT_THAT(log, HasSubstr("m_d3dpp.Windowed:0\n"));

    // The next run with a mode the display has searches again and uses it.
    D3D8SetAdapterModes({{1024, 768, 60, D3DFMT_X8R8G8B8}}, {800, 500, 60, D3DFMT_X8R8G8B8});
    m_logStart = coretest::ReadLog().size();
    coretest::CTestWindow exact(1024, 768);
    CScreenRunner exactRunner(exact);
    EXPECT_TRUE(exactRunner.RunFrames(1, nullptr));
    EXPECT_EQ(exactRunner.Width(), 1024);
    EXPECT_THAT(Log(), Not(HasSubstr("No Valid Mode Found")));
}

TEST_F(StartFailureTest, DesktopScreenSkipsTheSearchAndUsesTheDesktopSize) {
    D3D8SetAdapterModes({{640, 480, 60, D3DFMT_X8R8G8B8}}, {320, 200, 60, D3DFMT_X8R8G8B8});
    CScreen& screen = CScreen::Instance();
    screen.SetUseDesktopScreen(true);
    screen.SetFullscreen(true);
    screen.SetColorDepth(1);
    coretest::CTestWindow window(320, 200);
    CScreenRunner runner(window);
    EXPECT_TRUE(runner.RunFrames(1, nullptr));
    EXPECT_EQ(runner.Width(), 320);
    const std::string log = Log();
    EXPECT_THAT(log, Not(HasSubstr("Test Screen Modes")));
    EXPECT_THAT(log, HasSubstr("m_d3dpp.BackBufferWidth:320\nm_d3dpp.BackBufferHeight:200\n"
                               "m_d3dpp.BackBufferFormat:21\n"));
}

TEST_F(StartFailureTest, DisplayErrorsWithoutErrorsShowsNothing) {
    coretest::CTestWindow window(8, 8);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(1, nullptr));
    CErrorCapture errors;
    CScreen::Instance().DisplayErrors();
    EXPECT_EQ(errors.Count(), 0u);
}

TEST_F(StartFailureTest, ResolutionTable) {
    CScreen& screen = CScreen::Instance();
    const int expected[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};
    for (int r = 0; r < 5; ++r) {
        screen.SetResolution(static_cast<TResolutionEnum>(r));
        EXPECT_EQ(screen.GetXResolution(), expected[r][0]);
        EXPECT_EQ(screen.GetYResolution(), expected[r][1]);
    }
    screen.SetResolution(static_cast<TResolutionEnum>(5));
    EXPECT_EQ(screen.GetXResolution(), -1);
    EXPECT_EQ(screen.GetYResolution(), -1);
    screen.SetResolution(static_cast<TResolutionEnum>(-1));
    EXPECT_EQ(screen.GetXResolution(), -1);
}

}  // namespace
