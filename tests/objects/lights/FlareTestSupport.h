#pragma once
// Lens flares drawn by a running screen on a 640 x 480 headless surface,
// the size the screen's resolution (640 x 480) gives the flare: a black
// background, white ambient light, the camera at a fixture-chosen place,
// and a white texture file for the spots, so that a spot shows its colour.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CLensFlare.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/BmpFile.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "support/PixelProbe.h"

namespace flaretest {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The flare's inner steps, reachable for the tests.
class CTestFlare : public CLensFlare {
public:
    using CLensFlare::CalcLightSourceScreenCoords;
    using CLensFlare::IsLensFlareObscured;
    using CLensFlare::NumObjectsAtPoint;
};

class FlareFixture : public ::testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.ViewInfo(false);
        screen.SetShowFPS(false);
        screen.SetResolution(RES_640_480);
        screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
        screen.SetAmbientLight(1);
        screen.SetAmbientColor(D3DCOLORVALUE{1, 1, 1, 1});
        m_white = m_folder.Write("white.bmp", EncodeBmp24(8, 8, [](int, int) { return 0xFFFFFFu; }));
    }

    // Runs one frame per function, with the camera set first, and returns
    // each frame's pixels.
    std::vector<std::vector<std::uint32_t>> Draw(const std::vector<std::function<void()>>& frames) {
        std::vector<std::vector<std::uint32_t>> pixels;
        CScreenRunner runner(m_window);
        const bool ran = runner.RunFrames(static_cast<int>(frames.size()), [&](int frame) {
            CScreen::Instance().SetCamera(m_eye, m_direction, D3DXVECTOR3(0, 1, 0));
            frames[static_cast<size_t>(frame)]();
            pixels.push_back(runner.ReadBackBuffer());
        });
        EXPECT_TRUE(ran);
        pixels.resize(frames.size());
        return pixels;
    }

    // Initialises a flare with the white texture as texture 0.
    void SetUpFlare(CLensFlare& flare) const {
        flare.Init();
        flare.AddTexture(m_white.c_str());
    }

    // The world point that the current camera shows at pixel (x, y), `depth`
    // units ahead in the camera's space (behind the camera when negative).
    static D3DXVECTOR3 WorldAtPixel(float x, float y, float depth = 20.0f) {
        CScreen& screen = CScreen::Instance();
        const D3DXMATRIX projection = screen.GetProjMatrix();
        const D3DXMATRIX view = screen.GetViewMatrix();
        D3DXMATRIX toWorld;
        D3DXMatrixInverse(&toWorld, nullptr, &view);
        const float ndcX = (x - kWidth / 2) / (kWidth / 2);
        const float ndcY = (kHeight / 2 - y) / (kHeight / 2);
        const D3DXVECTOR3 inCamera(ndcX * depth / projection._11, ndcY * depth / projection._22, depth);
        D3DXVECTOR3 world;
        D3DXVec3TransformCoord(&world, &inCamera, &toWorld);
        return world;
    }

    static std::uint32_t At(const std::vector<std::uint32_t>& pixels, int x, int y) {
        return PixelAt(pixels, kWidth, x, y);
    }

    D3DXVECTOR3 m_eye{0.0f, 0.0f, -5.0f};
    D3DXVECTOR3 m_direction{0.0f, 0.0f, 1.0f};
    CTempFolder m_folder;
    std::string m_white;
    CHeadlessWindow m_window{kWidth, kHeight};
    CScreenStateGuard m_screenState;  // last: restores the screen before the window goes
};

}  // namespace flaretest
