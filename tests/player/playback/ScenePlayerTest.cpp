#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CPlaybackSession.h"
#include "CScenePlayer.h"
#include "common/TestScenes.h"
#include "core/CScreen.h"
#include "objects/CSphereObject.h"
#include "scene/CScene.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kSize = 96;

// Plays the scene file at the given times on a headless surface and keeps
// every frame.
std::vector<SFrame> PlayAt(const std::string& path, std::vector<float> times) {
    std::vector<SFrame> frames;
    SPlaybackSettings settings;
    settings.scenePath = path;
    settings.times = std::move(times);
    settings.frameSink = [&frames](const SFrame& frame) {
        frames.push_back(frame);
        return true;
    };
    CScene scene;
    CScenePlayer player(scene, settings);
    SOutputChoice output;
    output.kind = TOutputKind::Headless;
    output.width = kSize;
    output.height = kSize;
    std::string error;
    EXPECT_TRUE(CPlaybackSession::Run(output, player, error)) << error;
    EXPECT_TRUE(player.SceneLoaded());
    return frames;
}

// A white, lit sphere straight ahead of the camera on a black background.
void WriteLitSphereScene(const std::string& path) {
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f});
    screen.EnableFog(false);
    screen.SetAmbientLight(0);
    screen.ViewInfo(false);
    screen.SetTotalTime(1.0f);

    CScene scene;
    auto* sphere = new CSphereObject();
    sphere->SetObjName("Ball");
    sphere->SetScene(scene);
    sphere->Init();
    sphere->SetCurrentKeyFrame(sphere->GetKeyFrameID(0));
    sphere->SetRadius(1.5f);
    sphere->SetColor(D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f}, 0);
    sphere->SetLighting(true);
    scene.AddObject(*sphere);

    lvxtest::AddCameraLookingAtTheOrigin(scene);
    ASSERT_TRUE(scene.Save(path, false));
}

class ScenePlayerTest : public testing::Test {
protected:
    CTempFolder m_folder;
    CScreenStateGuard m_screenState;
};

TEST_F(ScenePlayerTest, ALitSceneIsPlayedInAWhiteLightFromAbove) {
    const std::string path = m_folder.Path("sphere.bgs");
    WriteLitSphereScene(path);
    const std::vector<SFrame> frames = PlayAt(path, {0.0f});
    ASSERT_EQ(frames.size(), 1u);
    const SFrame& frame = frames[0];
    // The sphere fills the middle of the picture, 30 pixels in radius.
    const std::uint32_t top = PixelAt(frame.pixels, frame.width, kSize / 2, kSize / 2 - 20);
    const std::uint32_t bottom = PixelAt(frame.pixels, frame.width, kSize / 2, kSize / 2 + 20);
    // Without ambient light only the light shows the sphere: its top is
    // bright white and the side facing away from the light stays dark.
    EXPECT_GT(Brightness(top), 150) << ColorText(top);
    EXPECT_LT(Brightness(bottom), 20) << ColorText(bottom);
}

// The mean colour of a rectangle of the frame, as 0xFFRRGGBB.
std::uint32_t MeanColor(const SFrame& frame, int left, int top, int right, int bottom) {
    long sums[3] = {0, 0, 0};
    long count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const std::uint32_t pixel = PixelAt(frame.pixels, frame.width, x, y);
            sums[0] += Red(pixel);
            sums[1] += Green(pixel);
            sums[2] += Blue(pixel);
            ++count;
        }
    }
    return 0xFF000000u | static_cast<std::uint32_t>(sums[0] / count) << 16 |
           static_cast<std::uint32_t>(sums[1] / count) << 8 | static_cast<std::uint32_t>(sums[2] / count);
}

// The banner along the demo's lower edge fades in over its first two
// seconds: left of its text lies the green terrain at 0 s and the banner's
// blue at 3 s.
TEST_F(ScenePlayerTest, TheDemoBannerFadesInWithItsAlphaKeys) {
    const std::vector<SFrame> frames = PlayAt(LVX_DEMO_SCENE, {0.0f, 1.0f, 3.0f});
    ASSERT_EQ(frames.size(), 3u);
    auto bannerLeft = [](const SFrame& frame) {
        return MeanColor(frame, frame.width / 5, frame.height * 86 / 100, frame.width / 3, frame.height * 94 / 100);
    };
    const std::uint32_t hidden = bannerLeft(frames[0]);
    const std::uint32_t half = bannerLeft(frames[1]);
    const std::uint32_t shown = bannerLeft(frames[2]);
    EXPECT_GT(Green(hidden), Blue(hidden) + 30) << "terrain expected at 0 s: " << ColorText(hidden);
    EXPECT_GT(Blue(shown), Green(shown) + 15) << "banner expected at 3 s: " << ColorText(shown);
    EXPECT_GT(Blue(half), Blue(hidden) + 10) << ColorText(half);
    EXPECT_LT(Blue(half) + 10, Blue(shown)) << ColorText(half);
}

}  // namespace
