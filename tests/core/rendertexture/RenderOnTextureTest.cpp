// The render-to-texture pass: the scene goes into a texture that a
// full-screen quad then shows, scaled by the blur factors, with feedback
// trails, MiddleScene for drawing over it, and across a device loss.

#include <gtest/gtest.h>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CPlaneObject.h"
#include "platform/d3d8/d3d8.h"
#include "support/CScreenStateGuard.h"
#include "support/PixelProbe.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// A rectangle of pre-transformed vertices in the current target's pixels.
void FillRect(float left, float top, float right, float bottom, std::uint32_t color) {
    struct SVertex {
        float x, y, z, rhw;
        DWORD color;
    };
    const SVertex quad[4] = {{left, top, 0.5f, 1.0f, color},
                             {right, top, 0.5f, 1.0f, color},
                             {left, bottom, 0.5f, 1.0f, color},
                             {right, bottom, 0.5f, 1.0f, color}};
    IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
}

// The quad samples the texture with filtering: colours keep some slack.
bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 24) {
    return ColorNear(actual, expected, tolerance);
}

class RenderOnTextureTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.ViewInfo(false);
        screen.SetFullscreen(false);
        screen.SetResolution(RES_640_480);
        screen.SetBackgroundColor(D3DCOLORVALUE{1, 0, 0, 1});
        screen.SetBlurFactor(0.0f, 0.0f);
        screen.SetRenderPosition(-0.5f, -0.5f, 0.501f, 0.501f);
        screen.Feedback(false);
        screen.SetBlurMode(false);
    }
    CScreenStateGuard m_screenState;
};

TEST_F(RenderOnTextureTest, TextureSizeFollowsTheResolution) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(8, 8);
    CScreenRunner runner(window);
    std::vector<std::pair<UINT, UINT>> sizes;
    bool textureMade = false, releasedWhenOff = false;
    ASSERT_TRUE(runner.RunFrames(1, [&](int) {
        for (int resolution = 0; resolution <= 4; ++resolution) {
            screen.SetResolution(static_cast<TResolutionEnum>(resolution));
            screen.RenderOnTexture(true);
            sizes.emplace_back(screen.GetRenderTextureWidth(), screen.GetRenderTextureHeight());
            textureMade = screen.GetRenderTexture() != nullptr && screen.IsRenderOnTexture();
        }
        screen.RenderOnTexture(false);
        releasedWhenOff = screen.GetRenderTexture() == nullptr && !screen.IsRenderOnTexture();
        screen.SetResolution(RES_640_480);
    }));
    EXPECT_EQ(sizes, (std::vector<std::pair<UINT, UINT>>{
                         {1024, 512}, {1024, 1024}, {1024, 1024}, {2048, 1024}, {2048, 2048}}));
    EXPECT_TRUE(textureMade);
    EXPECT_TRUE(releasedWhenOff);
}

TEST_F(RenderOnTextureTest, TheQuadShowsTheSceneScaledByTheBlurFactors) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(64, 64);
    CScreenRunner runner(window);
    // Switched on during a run (the first frame is drawn directly).
    ASSERT_TRUE(runner.RunFrames(3, [&](int frame) {
        if (frame == 0) {
            screen.RenderOnTexture(true);
            return;
        }
        FillRect(0, 0, 16, 16, kGreen);
    }));
    EXPECT_TRUE(Near(runner.Pixel(8, 8), kGreen)) << std::hex << runner.Pixel(8, 8);
    EXPECT_TRUE(Near(runner.Pixel(24, 24), kRed)) << std::hex << runner.Pixel(24, 24);
    EXPECT_TRUE(Near(runner.Pixel(60, 60), kRed)) << std::hex << runner.Pixel(60, 60);

    // Half the texture is rendered and stretched over the whole screen: the
    // same rectangle covers twice the size. Still on from the last run, the
    // targets are made again for the new device.
    screen.SetBlurFactor(0.5f, 0.5f);
    ASSERT_TRUE(runner.RunFrames(2, [&](int) { FillRect(0, 0, 16, 16, kGreen); }));
    EXPECT_TRUE(screen.IsRenderOnTexture());
    EXPECT_TRUE(Near(runner.Pixel(24, 24), kGreen)) << std::hex << runner.Pixel(24, 24);
    EXPECT_TRUE(Near(runner.Pixel(40, 40), kRed)) << std::hex << runner.Pixel(40, 40);
}

TEST_F(RenderOnTextureTest, MiddleSceneDrawsOverTheQuadWithoutTheEffect) {
    CScreen& screen = CScreen::Instance();
    screen.SetBlurFactor(0.5f, 0.5f);
    coretest::CTestWindow window(64, 64);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(3, [&](int frame) {
        if (frame == 0) {
            screen.RenderOnTexture(true);
            return;
        }
        FillRect(0, 0, 8, 8, kGreen);  // into the texture: shown at 0..16
        screen.MiddleScene();
        FillRect(40, 40, 48, 48, kBlue);  // on the screen, at its own size
    }));
    EXPECT_TRUE(Near(runner.Pixel(12, 12), kGreen)) << std::hex << runner.Pixel(12, 12);
    EXPECT_TRUE(Near(runner.Pixel(44, 44), kBlue)) << std::hex << runner.Pixel(44, 44);
    EXPECT_TRUE(Near(runner.Pixel(52, 52), kRed)) << std::hex << runner.Pixel(52, 52);
}

TEST_F(RenderOnTextureTest, FeedbackLeavesTrailsWhereAPlainPassDoesNot) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(64, 64);
    CScreenRunner runner(window);
    const auto run = [&](bool feedback) {
        EXPECT_TRUE(runner.RunFrames(4, [&](int frame) {
            if (frame == 0) {
                screen.RenderOnTexture(true);
                screen.Feedback(feedback);
            } else if (frame == 1) {
                FillRect(0, 0, 16, 16, kGreen);  // drawn once, then gone
            }
        }));
        return runner.Pixel(8, 8);
    };
    const std::uint32_t trail = run(true);
    // Two frames of the background at alpha 10 over it: still mostly green.
    EXPECT_GE(static_cast<int>((trail >> 8) & 0xFF), 200) << std::hex << trail;
    EXPECT_GT(static_cast<int>((trail >> 16) & 0xFF), 5) << std::hex << trail;
    EXPECT_TRUE(Near(run(false), kRed));
}

TEST_F(RenderOnTextureTest, TheTargetsComeBackAfterADeviceLoss) {
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(true);
    coretest::CTestWindow window(640, 480);
    CScreenRunner runner(window);
    IDirect3DTexture8* before = nullptr;
    IDirect3DTexture8* after = nullptr;
    ASSERT_TRUE(runner.RunFrames(4, [&](int frame) {
        if (frame == 0) {
            screen.RenderOnTexture(true);
            before = screen.GetRenderTexture();
        } else if (frame == 1) {
            D3D8SimulateDeviceLost(screen.GetD3DDevice());
        } else {
            after = screen.GetRenderTexture();
        }
        FillRect(0, 0, 100, 100, kGreen);
    }));
    EXPECT_TRUE(screen.IsRenderOnTexture());
    EXPECT_NE(before, nullptr);
    EXPECT_NE(after, nullptr);
    EXPECT_TRUE(Near(runner.Pixel(50, 50), kGreen)) << std::hex << runner.Pixel(50, 50);
    EXPECT_TRUE(Near(runner.Pixel(300, 300), kRed)) << std::hex << runner.Pixel(300, 300);
}

TEST_F(RenderOnTextureTest, AlphaAndFadeGoToThePlane) {
    CScreen& screen = CScreen::Instance();
    screen.SetAlphaTexture(0.25f);
    screen.SetFadeTexture(0.5f);
    const CPlaneObject& plane = screen.GetTexturePlane();
    EXPECT_FLOAT_EQ(plane.GetAlpha(), 0.25f);
    const D3DCOLORVALUE color = plane.GetDiffuseColor(0);
    EXPECT_FLOAT_EQ(color.r, 0.5f);
    EXPECT_FLOAT_EQ(color.g, 0.5f);
    EXPECT_FLOAT_EQ(color.b, 0.5f);
    screen.SetAlphaTexture(1.0f);
    screen.SetFadeTexture(1.0f);
}

}  // namespace
