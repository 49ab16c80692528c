// The screen's state guard: what a test changes comes back as the guard
// found it (not as a fresh screen has it), and a running clock is stopped
// while the test's music sender still listens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/CScreen.h"
#include "scene/CMP3Player.h"
#include "support/CScreenStateGuard.h"

using testing::ElementsAre;

TEST(ScreenStateGuard, SettingsComeBackAsTheGuardFoundThem) {
    CScreenStateGuard outer;  // for the settings this test leaves behind
    CScreen& screen = CScreen::Instance();
    // Nothing like a fresh screen, so that defaults would not pass for them.
    screen.SetFullscreen(true);
    screen.SetResolution(RES_1024_768);
    screen.SetColorDepth(0);
    screen.ViewInfo(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{0.5f, 0.25f, 0.75f, 1.0f});  // bytes 127, 63, 191
    screen.EnableFog(true);
    screen.SetFogColor(D3DCOLORVALUE{0.1f, 0.2f, 0.3f, 1.0f});
    screen.SetFogStart(3.5f);
    screen.SetAmbientColor(D3DCOLORVALUE{0.25f, 0.5f, 0.75f, 1.0f});
    screen.SetCamera(D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 1, 0));
    screen.SetFieldOfView(1.0f);
    screen.SetTotalTime(12.0f);
    screen.SetLoop(false);
    const D3DCOLOR background = screen.GetBackgroundColorARGB();
    const D3DXMATRIX view = screen.GetViewMatrix();
    const D3DXMATRIX projection = screen.GetProjMatrix();
    {
        CScreenStateGuard guard;
        screen.SetFullscreen(false);
        screen.SetResolution(RES_640_480);
        screen.SetColorDepth(1);
        screen.ViewInfo(true);
        screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 1.0f, 0.0f, 1.0f});
        screen.EnableFog(false);
        screen.SetFogColor(D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f});
        screen.SetFogStart(10.0f);
        screen.SetAmbientColor(D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f});
        screen.SetCamera(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 1));
        screen.SetMouseCamera(0, 0, 1, 0, 0, 0);  // and over to the user camera
        screen.SetFieldOfView(0.5f);
        screen.SetTotalTime(60.0f);
        screen.SetLoop(true);
    }
    EXPECT_TRUE(screen.GetFullscreen());
    EXPECT_EQ(screen.GetResolution(), RES_1024_768);
    EXPECT_EQ(screen.GetColorDepth(), 0);
    EXPECT_FALSE(screen.GetViewInfo());
    EXPECT_EQ(screen.GetBackgroundColorARGB(), background);
    EXPECT_TRUE(screen.IsFogEnabled());
    EXPECT_FLOAT_EQ(screen.GetFogColor().g, 0.2f);
    EXPECT_FLOAT_EQ(screen.GetFogStart(), 3.5f);
    EXPECT_FLOAT_EQ(screen.GetAmbientColor().b, 0.75f);
    EXPECT_FALSE(screen.IsUserCameraMode());
    EXPECT_TRUE(screen.GetViewMatrix() == view);  // the tilted up vector too
    EXPECT_FLOAT_EQ(screen.GetFieldOfView(), 1.0f);
    EXPECT_TRUE(screen.GetProjMatrix() == projection);  // for 1024 x 768 again
    EXPECT_FLOAT_EQ(screen.GetTotalTime(), 12.0f);
    EXPECT_FALSE(screen.IsLoop());
}

TEST(ScreenStateGuard, ARunningClockStopsWhileTheTestsSenderStillListens) {
    CScreenStateGuard outer;
    CScreen& screen = CScreen::Instance();
    screen.Stop();
    std::vector<CString> commands;
    {
        CScreenStateGuard guard;
        screen.GetSound().SetCommandSender([&commands](const CString& command) {
            commands.push_back(command);
            return MMSYSERR_NOERROR;
        });
        screen.GetSound().SetEnable(true);
        screen.Play(2.0f);
        commands.clear();
    }
    EXPECT_TRUE(screen.IsStopped());
    EXPECT_FLOAT_EQ(screen.GetPlaySpeed(), 0.0f);
    EXPECT_FALSE(screen.GetSound().GetEnable());
    EXPECT_THAT(commands, ElementsAre("pause mp3", "stop mp3"));
}
