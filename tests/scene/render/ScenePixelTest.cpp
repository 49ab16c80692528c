// A scene drawn by a running screen on the headless surface: the view
// follows the current camera trajectory.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animation/CCameraTrajectoryObject.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CBoxObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CScene.h"
#include "support/CTempFolder.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kSize = 64;

std::uint32_t Centre(const std::vector<std::uint32_t>& pixels) {
    return PixelAt(pixels, kSize, kSize / 2, kSize / 2);
}

CBoxObject* NewBox(const char* name, D3DCOLORVALUE color, D3DXVECTOR3 position) {
    auto* box = new CBoxObject();
    box->SetObjName(name);
    box->SetColor(color, 0);
    box->SetPosition(position);
    return box;
}

}  // namespace

TEST(ScenePixels, TheViewFollowsTheCurrentCameraTrajectory) {
    CTempFolder::EnterPrivateWorkingFolder();
    CScreen& screen = CScreen::Instance();
    screen.ViewInfo(false);
    screen.SetShowFPS(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
    screen.SetAmbientLight(1);
    screen.SetAmbientColor(D3DCOLORVALUE{1, 1, 1, 1});
    screen.SetTime(0.0f);

    CHeadlessWindow window(kSize, kSize);
    CScreenRunner runner(window);
    std::unique_ptr<CScene> scene;
    CCameraTrajectoryObject* camera = nullptr;
    std::vector<std::vector<std::uint32_t>> frames;
    const bool ran = runner.RunFrames(3, [&](int frame) {
        if (frame == 0) {
            scene = std::make_unique<CScene>();
            scene->AddObject(*NewBox("ahead", D3DCOLORVALUE{1, 0, 0, 1}, D3DXVECTOR3(0, 0, 5)));
            scene->AddObject(*NewBox("right", D3DCOLORVALUE{0, 0, 1, 1}, D3DXVECTOR3(5, 0, 0)));
            camera = new CCameraTrajectoryObject();
            camera->SetWeight(1);
            scene->AddObject(*camera);
            scene->SetFreeCamera(false);
        } else if (frame == 1) {
            camera->SetDirection(D3DXVECTOR3(D3DX_PI / 2.0f, 0.0f, 0.0f));  // a quarter turn right
        } else {
            scene->SetFreeCamera(true);  // back to the screen's camera, which looks away
        }
        // The host's own camera looks the other way; only the trajectory can
        // bring a box into view.
        screen.SetCamera(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, -1));
        scene->Render();
        frames.push_back(runner.ReadBackBuffer());
        if (frame == 2)
            scene.reset();
    });
    ASSERT_TRUE(ran);
    ASSERT_EQ(frames.size(), 3u);

    const std::uint32_t ahead = Centre(frames[0]);
    EXPECT_GT(Red(ahead), 100) << std::hex << ahead;
    EXPECT_LT(Blue(ahead) + Green(ahead), 20) << std::hex << ahead;
    const std::uint32_t right = Centre(frames[1]);
    EXPECT_GT(Blue(right), 100) << std::hex << right;
    EXPECT_LT(Red(right) + Green(right), 20) << std::hex << right;
    const std::uint32_t away = Centre(frames[2]);
    EXPECT_LT(Red(away) + Green(away) + Blue(away), 10) << std::hex << away;
    // The camera's own markers are hidden while it drives the view: the box
    // fills only the middle of the picture, the corners stay background.
    EXPECT_LT(Red(frames[0][0]) + Green(frames[0][0]) + Blue(frames[0][0]), 10);

    screen.SetAmbientColor(D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 1.0f});
    screen.ResetFieldOfView();
    // The screen remembers the window of its last run; this one dies here.
    CScreen::Instance().SetWindow(nullptr);
}

TEST(ScenePixels, TheSkyBoxSurroundsTheViewerAndShowsAgainAfterCleanUp) {
    CTempFolder::EnterPrivateWorkingFolder();
    CScreen& screen = CScreen::Instance();
    screen.ViewInfo(false);
    screen.SetShowFPS(false);
    screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
    CHeadlessWindow window(kSize, kSize);
    CScreenRunner runner(window);
    std::unique_ptr<CScene> scene;
    std::vector<std::vector<std::uint32_t>> frames;
    const bool ran = runner.RunFrames(3, [&](int frame) {
        if (frame == 0) {
            scene = std::make_unique<CScene>();
            scene->EnableSkyBox(true);
        } else if (frame == 1) {
            scene->CleanUp();  // switches it off and releases it
        } else {
            scene->EnableSkyBox(true);
        }
        screen.SetCamera(D3DXVECTOR3(3, 1, -2), D3DXVECTOR3(0.3f, 0.2f, 1));
        scene->Render();
        frames.push_back(runner.ReadBackBuffer());
        if (frame == 2)
            scene.reset();
    });
    ASSERT_TRUE(ran);
    ASSERT_EQ(frames.size(), 3u);
    auto lit = [](std::uint32_t argb) { return Red(argb) + Green(argb) + Blue(argb); };
    for (std::uint32_t corner : {frames[0][0], frames[0].back(), Centre(frames[0])})
        EXPECT_GT(lit(corner), 100);
    EXPECT_LT(lit(Centre(frames[1])), 10);
    EXPECT_GT(lit(Centre(frames[2])), 100);
    screen.SetWindow(nullptr);
}
