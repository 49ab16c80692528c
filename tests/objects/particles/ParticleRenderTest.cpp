// Particles drawn by a running screen on a 640 x 480 headless surface: point
// sprites of the size the distance gives them, in the particle's colour
// modulated by the texture, added to what is there, in batches of the
// vertex buffer's size; the device states put back; and a warm frame of
// 2000 particles allocates nothing on the heap.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/CCamera.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CParticleEmitter.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/BmpFile.h"
#include "support/CAllocationCounter.h"
#include "support/CRedPixelShader.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr float kDistance = 10.0f;

class ParticleRendering : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.SetWindow(nullptr);
        screen.SetFullscreen(false);
        screen.SetResolution(RES_640_480);
        screen.ViewInfo(false);
        screen.SetShowFPS(false);
        screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f});
        screen.EnableFog(false);
        screen.Stop();
        screen.SetTime(0.0f);
        m_white = m_folder.Write("white.bmp", EncodeBmp24(8, 8, [](int, int) { return 0xFFFFFFu; }));
        m_grey = m_folder.Write("grey.bmp", EncodeBmp24(8, 8, [](int, int) { return 0x808080u; }));
    }

    // One frame: the camera at the origin looking along +z, then `draw`.
    std::vector<std::uint32_t> DrawFrame(const std::function<void()>& draw) {
        CScreenRunner runner(m_window);
        const bool ran = runner.RunFrames(1, [&](int) {
            CScreen& screen = CScreen::Instance();
            screen.SetCamera(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
            const D3DXMATRIX view = screen.GetViewMatrix();
            screen.GetD3DDevice()->SetTransform(D3DTS_VIEW, &view);
            draw();
        });
        EXPECT_TRUE(ran);
        return runner.Pixels();
    }

    // A motionless emitter in front of the camera whose particles all have
    // one size and colour and live long.
    static void SetUpStill(CParticleEmitter& emitter, float size, const D3DXCOLOR& color) {
        emitter.SetPos(D3DXVECTOR3(0.0f, 0.0f, kDistance));
        emitter.SetEmitRadius(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
        emitter.SetSpawnDir1(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
        emitter.SetSpawnDir2(D3DXVECTOR3(0.0f, 0.0f, 0.0f));
        emitter.SetLifetime(CMinMax<float>(100.0f, 100.0f));
        emitter.SetSize(CMinMax<float>(size, size));
        emitter.SetStartColor1(color);
        emitter.SetStartColor2(color);
        emitter.SetEndColor1(color);
        emitter.SetEndColor2(color);
    }

    // Emits `count` particles by rendering a scene clock that moved a second
    // on (the rate is `count` per second), and draws them.
    static void EmitAndRender(CParticleEmitter& emitter, int count) {
        emitter.Init();
        emitter.Reset();
        emitter.SetEmitRate(CMinMax<float>(static_cast<float>(count), static_cast<float>(count)));
        CScreen::Instance().SetTime(1.0f);
        emitter.Render();
    }

    static std::uint32_t At(const std::vector<std::uint32_t>& pixels, int x, int y) {
        return PixelAt(pixels, kWidth, x, y);
    }

    CTempFolder m_folder;
    std::string m_white;
    std::string m_grey;
    CHeadlessWindow m_window{kWidth, kHeight};
    CScreenStateGuard m_screenState;  // last: restores the screen before the window goes
};

}  // namespace

TEST_F(ParticleRendering, AParticleIsASquareSpriteAsWideAsTheViewportHeightTimesSizeOverEyeDistance) {
    const auto pixels = DrawFrame([this] {
        CParticleEmitter emitter;
        emitter.SetTexture(m_white.c_str());
        SetUpStill(emitter, 0.5f, D3DXCOLOR(0.5f, 0.25f, 0.75f, 1.0f));
        EmitAndRender(emitter, 1);
        EXPECT_EQ(emitter.GetNumActiveParticles(), 1);
    });
    ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));
    // The viewport's height x size / the distance in the camera's space,
    // where the screen's camera shows the scene at 0.8 of its size:
    // 480 x 0.5 / 8 = 30 pixels, centred on the screen.
    const float eyeDistance = kDistance / CCamera::kViewScale;
    const int expected = static_cast<int>(kHeight * 0.5f / eyeDistance);
    ASSERT_EQ(expected, 30);
    const SPixelBox box = Silhouette(pixels, kBlack, kWidth, 3);
    EXPECT_NEAR(box.Width(), expected, 1);
    EXPECT_NEAR(box.Height(), expected, 1);
    EXPECT_NEAR((box.left + box.right) / 2.0, 320.0, 1.0);
    EXPECT_NEAR((box.top + box.bottom) / 2.0, 240.0, 1.0);
    EXPECT_COLOR_NEAR(At(pixels, 320, 240), 0xFF8040BFu, 2);
}

// An object drawn with an effect leaves its pixel shader bound; the
// particles draw through their texture stage all the same.
TEST_F(ParticleRendering, AParticleAfterAPixelShaderEffectKeepsItsColour) {
    const auto pixels = DrawFrame([this] {
        const CRedPixelShader red(CScreen::Instance().GetD3DDevice());
        CParticleEmitter emitter;
        emitter.SetTexture(m_white.c_str());
        SetUpStill(emitter, 0.5f, D3DXCOLOR(0.5f, 0.25f, 0.75f, 1.0f));
        EmitAndRender(emitter, 1);
    });
    ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));
    EXPECT_COLOR_NEAR(At(pixels, 320, 240), 0xFF8040BFu, 2);
}

TEST_F(ParticleRendering, ParticlesAddUpAndTheTextureModulatesTheirColour) {
    const auto pixels = DrawFrame([this] {
        // Three particles on one spot, each a fifth of white, through a
        // half-grey texture, added to each other.
        CParticleEmitter emitter;
        emitter.SetTexture(m_grey.c_str());
        SetUpStill(emitter, 0.5f, D3DXCOLOR(0.8f, 0.4f, 0.2f, 1.0f));
        EmitAndRender(emitter, 3);
    });
    // 3 x 0.5 x (204, 102, 51)
    const std::uint32_t centre = At(pixels, 320, 240);
    EXPECT_NEAR(Red(centre), 255, 2);
    EXPECT_NEAR(Green(centre), 153, 4);
    EXPECT_NEAR(Blue(centre), 77, 4);
}

TEST_F(ParticleRendering, EveryBatchOfTheVertexBufferIsDrawn) {
    const auto pixels = DrawFrame([this] {
        CParticleEmitter emitter;
        emitter.SetVBSize(4);  // 10 particles: batches of 4, 4 and 2
        emitter.SetTexture(m_white.c_str());
        SetUpStill(emitter, 0.5f, D3DXCOLOR(0.05f, 0.05f, 0.05f, 1.0f));
        EmitAndRender(emitter, 10);
        EXPECT_EQ(emitter.GetNumActiveParticles(), 10);
    });
    // Each adds 13 (0.05 x 255 + 0.5).
    EXPECT_NEAR(Red(At(pixels, 320, 240)), 130, 2);
}

TEST_F(ParticleRendering, WithTheDefaultLifetimeNothingIsDrawn) {
    const auto pixels = DrawFrame([this] {
        CParticleEmitter emitter;
        emitter.SetTexture(m_white.c_str());
        emitter.SetPos(D3DXVECTOR3(0.0f, 0.0f, kDistance));
        EmitAndRender(emitter, 50);
        EXPECT_EQ(emitter.GetNumActiveParticles(), 50);  // freed at the next update
    });
    EXPECT_EQ(MaxBrightness(pixels), 0);
}

TEST_F(ParticleRendering, TheDeviceStatesArePutBackAfterDrawing) {
    DWORD states[6] = {};
    DrawFrame([&] {
        CParticleEmitter emitter;
        emitter.SetTexture(m_white.c_str());
        SetUpStill(emitter, 0.5f, D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));
        EmitAndRender(emitter, 1);
        IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
        const D3DRENDERSTATETYPE names[6] = {D3DRS_POINTSPRITEENABLE, D3DRS_POINTSCALEENABLE, D3DRS_SRCBLEND,
                                             D3DRS_DESTBLEND,         D3DRS_ZWRITEENABLE,     D3DRS_LIGHTING};
        for (int i = 0; i < 6; ++i) {
            device->GetRenderState(names[i], &states[i]);
        }
    });
    EXPECT_EQ(states[0], static_cast<DWORD>(FALSE));
    EXPECT_EQ(states[1], static_cast<DWORD>(FALSE));
    EXPECT_EQ(states[2], static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(states[3], static_cast<DWORD>(D3DBLEND_ZERO));
    EXPECT_EQ(states[4], static_cast<DWORD>(TRUE));
    EXPECT_EQ(states[5], static_cast<DWORD>(TRUE));
}

TEST_F(ParticleRendering, AWarmFrameOf2000ParticlesAllocatesNothing) {
    if (!CAllocationCounter::IsAvailable()) {
        GTEST_SKIP() << "allocations are not counted under the sanitizers";
    }
    long counted = -1;
    int alive = 0;
    CScreenRunner runner(m_window);
    std::unique_ptr<CParticleEmitter> emitter;
    ASSERT_TRUE(runner.RunFrames(4, [&](int frame) {
        CScreen::Instance().SetTime(0.5f * static_cast<float>(frame));
        if (frame == 0) {
            emitter = std::make_unique<CParticleEmitter>();
            emitter->SetTexture(m_white.c_str());
            emitter->SetLifetime(CMinMax<float>(100.0f, 100.0f));
            emitter->SetEmitRate(CMinMax<float>(10000.0f, 10000.0f));
            emitter->SetPos(D3DXVECTOR3(0.0f, 0.0f, kDistance));
            emitter->SetSize(CMinMax<float>(0.05f, 0.1f));
            emitter->Init();
        }
        CAllocationCounter::Start();
        emitter->Render();
        const long allocations = CAllocationCounter::Stop();
        if (frame == 3) {
            counted = allocations;
            alive = emitter->GetNumActiveParticles();
            emitter.reset();
        }
    }));
    EXPECT_EQ(alive, 2000);
    EXPECT_EQ(counted, 0);
}
