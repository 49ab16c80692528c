// The projection takes the back buffer's aspect, whatever the resolution
// setting says, and a windowed back buffer follows its window's client
// size: a square in front of the camera stays square on any window.

#include <gtest/gtest.h>

#include <string>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/d3d8/d3d8.h"
#include "scene/CObjects.h"
#include "support/CScreenStateGuard.h"
#include "support/PixelProbe.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

// A white 2 x 2 square at the origin, seen head-on from 5 units away through
// the screen's projection.
void DrawSquare() {
    struct SVertex {
        float x, y, z;
        DWORD color;
    };
    const SVertex quad[4] = {{-1.0f, 1.0f, 0.0f, 0xFFFFFFFFu},
                             {1.0f, 1.0f, 0.0f, 0xFFFFFFFFu},
                             {-1.0f, -1.0f, 0.0f, 0xFFFFFFFFu},
                             {1.0f, -1.0f, 0.0f, 0xFFFFFFFFu}};
    CScreen& screen = CScreen::Instance();
    IDirect3DDevice8* device = screen.GetD3DDevice();
    D3DXMATRIX world, view;
    D3DXMatrixIdentity(&world);
    const D3DXVECTOR3 eye(0.0f, 0.0f, -5.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    const D3DXMATRIX projection = screen.GetProjMatrix();
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SVertex));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
}

// A registered object that counts how often the screen cleans it up.
class CCountingObject : public CObjects {
public:
    void CleanUp() override {
        ++cleanUps;
        CObjects::CleanUp();
    }
    int cleanUps = 0;
};

class BackBufferSizeTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.ViewInfo(false);
        screen.SetFullscreen(false);
        screen.SetUseDesktopScreen(false);
        // 4:3, unlike every window below.
        screen.SetResolution(RES_640_480);
        screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f});
        m_logStart = coretest::ReadLog().size();
    }
    size_t m_logStart = 0;
    CScreenStateGuard m_screenState;
};

TEST_F(BackBufferSizeTest, ASquareStaysSquareOnAWideOrATallWindow) {
    for (const auto& [width, height] : {std::pair{256, 96}, {120, 200}}) {
        coretest::CTestWindow window(width, height);
        CScreenRunner runner(window);
        ASSERT_TRUE(runner.RunFrames(1, [](int) { DrawSquare(); }));
        ASSERT_EQ(runner.Width(), width);
        const SPixelBox box = Silhouette(runner.Pixels(), kBlack, width);
        ASSERT_FALSE(box.Empty());
        EXPECT_NEAR(box.Width(), box.Height(), 2) << width << " x " << height;
        EXPECT_NEAR((box.left + box.right) / 2.0, (width - 1) / 2.0, 1.5);
    }
}

TEST_F(BackBufferSizeTest, AFieldOfViewSetDuringTheRunKeepsTheBackBuffersAspect) {
    // A camera path's zoom sets the field of view every frame.
    coretest::CTestWindow window(240, 80);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(1, [](int) {
        CScreen::Instance().SetFieldOfView(D3DX_PI / 3.0f);
        DrawSquare();
    }));
    const SPixelBox box = Silhouette(runner.Pixels(), kBlack, 240);
    EXPECT_NEAR(box.Width(), box.Height(), 2);
}

TEST_F(BackBufferSizeTest, AWindowThatChangesItsSizeGetsABackBufferOfTheNewSize) {
    coretest::CTestWindow window(96, 96);
    CScreenRunner runner(window);
    int firstWidth = 0;
    CCountingObject object;
    int cleanUpsDuringTheRun = -1;
    runner.SetFinishFunction([&] {
        cleanUpsDuringTheRun = object.cleanUps;
        object.CleanUp();
    });
    ASSERT_TRUE(runner.RunFrames(3, [&](int frame) {
        DrawSquare();
        if (frame == 0) {
            object.Init();
            runner.ReadBackBuffer(&firstWidth);
            // The user drags the window wider; the next frame follows.
            window.Resize(300, 100);
        }
    }));
    EXPECT_EQ(firstWidth, 96);
    ASSERT_EQ(runner.Width(), 300);
    ASSERT_EQ(runner.Height(), 100);
    // The whole window is drawn: the background reaches its far corner, and
    // the square sits in its middle, as tall as it is wide.
    EXPECT_EQ(runner.Pixel(299, 0), kBlack);
    const SPixelBox box = Silhouette(runner.Pixels(), kBlack, 300);
    EXPECT_NEAR((box.left + box.right) / 2.0, 149.5, 1.5);
    EXPECT_NEAR((box.top + box.bottom) / 2.0, 49.5, 1.5);
    EXPECT_NEAR(box.Width(), box.Height(), 2);
    EXPECT_NE(coretest::LogSince(m_logStart).find("the window is now 300 x 100"), std::string::npos);
    // Objects keep what they made: a scene's textures need not load again.
    EXPECT_EQ(cleanUpsDuringTheRun, 0);
}

}  // namespace
