// What the three built-in effects draw on a running screen (headless
// surface): bump lighting and relief, the cartoon's two tones and the
// reflection's cube-map faces. Pictures go to the build's screenshots/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CBoxObject.h"
#include "objects/CBumpMapShader.h"
#include "objects/CCartoonShader.h"
#include "objects/CLight.h"
#include "objects/CReflectionShader.h"
#include "objects/CSphereObject.h"
#include "objects/CTorusObject.h"
#include "platform/files/CPngFile.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/BmpFile.h"
#include "support/CScreenStateGuard.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kSize = 96;
constexpr std::uint32_t kBackground = 0xFF000000;
using Pixels = std::vector<std::uint32_t>;

int Luma(std::uint32_t argb) {
    return (Red(argb) + Green(argb) + Blue(argb)) / 3;
}

// The mean brightness of the object pixels of columns first..last.
double MeanLuma(const Pixels& pixels, int first, int last) {
    double sum = 0.0;
    int count = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = first; x <= last; ++x) {
            if (!ColorNear(PixelAt(pixels, kSize, x, y), kBackground, 2)) {
                sum += Luma(PixelAt(pixels, kSize, x, y));
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : 0.0;
}

// Makes the light of the effects travel along `direction`.
void Light(CLight& light, D3DXVECTOR3 direction) {
    light.Init();
    light.SetDirection(*D3DXVec3Normalize(&direction, &direction));
}

// A bump-mapped object: white on stage 0 (the program averages the light
// with it) and the normal map of a 64 x 64 height map on stage 1.
void PrepareBumpMap(CBaseObject& object, CBumpMapShader& effect, const std::function<int(int x)>& height) {
    IDirect3DTexture8* white = nullptr;
    ASSERT_EQ(CScreen::Instance().GetD3DDevice()->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &white),
              D3D_OK);
    D3DLOCKED_RECT texel{};
    ASSERT_EQ(white->LockRect(0, &texel, nullptr, 0), D3D_OK);
    *static_cast<std::uint32_t*>(texel.pBits) = 0xFFFFFFFF;
    white->UnlockRect(0);
    object.SetTexture(white, 0);
    white->Release();
    object.DrawTexture(true);
    const std::vector<BYTE> bmp = EncodeBmp24(64, 64, [&](int x, int) { return 0x010101u * height(x); });
    object.SetEffectTexture(bmp.data(), static_cast<int>(bmp.size()), ETT_NORMALMAP);
    ASSERT_NE(object.GetEffectTexture(), nullptr);
    effect.Init();
    object.SetShader(&effect);
}

class EffectPixels : public ::testing::Test {
protected:
    void SetUp() override {
        CScreen::Instance().ViewInfo(false);
        CScreen::Instance().SetShowFPS(false);
        CScreen::Instance().SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
    }

    // Runs one frame per function, the camera at `eye` looking at the
    // origin, and keeps each frame as screenshots/shaders_<name>_<i>.png.
    std::vector<Pixels> Draw(const std::string& name, const std::vector<std::function<void()>>& frames,
                             const std::vector<D3DXVECTOR3>& eyes = {}) {
        std::vector<Pixels> pixels;
        CScreenRunner runner(window);
        EXPECT_TRUE(runner.RunFrames(static_cast<int>(frames.size()), [&](int frame) {
            CScreen& screen = CScreen::Instance();
            const D3DXVECTOR3 eye = eyes.empty() ? D3DXVECTOR3(0, 0, -5) : eyes[static_cast<size_t>(frame)];
            screen.SetCamera(eye, -eye, std::fabs(eye.y) > 0 ? D3DXVECTOR3(0, 0, 1) : D3DXVECTOR3(0, 1, 0));
            const D3DXMATRIX view = screen.GetViewMatrix();
            screen.GetD3DDevice()->SetTransform(D3DTS_VIEW, &view);
            frames[static_cast<size_t>(frame)]();
            pixels.push_back(runner.ReadBackBuffer());
        }));
        pixels.resize(frames.size(), Pixels(kSize * kSize, kBackground));
        std::filesystem::create_directories(LVX_SCREENSHOT_DIR);
        for (size_t i = 0; i < pixels.size(); ++i) {
            std::string error;
            CPngFile::Write(std::string(LVX_SCREENSHOT_DIR) + "/shaders_" + name + "_" + std::to_string(i) + ".png",
                            kSize, kSize, pixels[i], error);
        }
        return pixels;
    }

    CHeadlessWindow window{kSize, kSize};
    CScreenStateGuard screenState;  // last: restores the screen before the window goes
};

}  // namespace

// The light is a direction: the same side is lit wherever the object stands.
TEST_F(EffectPixels, TheBumpMappedSideFacingTheLightIsBrighter) {
    const auto sphereAt = [](float x) {
        return [x] {
            CLight light;
            Light(light, D3DXVECTOR3(1.0f, 0.0f, 0.3f));  // from the left
            CBumpMapShader effect;
            CSphereObject sphere;
            sphere.UseShader(true);
            sphere.SetRadius(1.2f);
            sphere.SetPosition(x, 0.0f, 0.0f);
            sphere.Init();
            PrepareBumpMap(sphere, effect, [](int) { return 128; });  // flat
            sphere.Render();
        };
    };
    for (const Pixels& pixels : Draw("bump_light", {sphereAt(0.0f), sphereAt(1.5f)})) {
        const SPixelBox body = Silhouette(pixels, kBackground, kSize, 2);
        ASSERT_GT(body.Width(), kSize / 4);
        const double left = MeanLuma(pixels, body.left, body.left + body.Width() / 3);
        const double right = MeanLuma(pixels, body.right - body.Width() / 3, body.right);
        // Lit up to (0.5 N.L + 0.01 + 1) / 2 = 0.755 of white, unlit 0.505.
        EXPECT_GT(left, right + 25.0);
        EXPECT_NEAR(right, 0.505 * 255, 8.0);
    }
}

// Stripes of height along u tilt the normals left and right: under a light
// from the left a row across the face goes light and dark, where the flat
// map gives one even tone.
TEST_F(EffectPixels, TheNormalMapsReliefShowsAcrossAFace) {
    const auto box = [](std::function<int(int)> height) {
        return [height] {
            CLight light;
            Light(light, D3DXVECTOR3(1.0f, 0.0f, 1.0f));
            CBumpMapShader effect;
            CBoxObject box;
            box.UseShader(true);
            box.SetSize(3.0f, 3.0f, 3.0f);
            box.Init();
            PrepareBumpMap(box, effect, height);
            box.Render();
        };
    };
    const auto frames =
        Draw("bump_relief", {box([](int) { return 128; }),
                             box([](int x) { return static_cast<int>(128 + 120 * std::sin(x * D3DX_PI / 8)); })});
    const auto rowRange = [](const Pixels& pixels) {
        int low = 255, high = 0;
        for (int x = kSize / 2 - 20; x <= kSize / 2 + 20; ++x) {
            low = std::min(low, Luma(PixelAt(pixels, kSize, x, kSize / 2)));
            high = std::max(high, Luma(PixelAt(pixels, kSize, x, kSize / 2)));
        }
        return high - low;
    };
    EXPECT_LE(rowRange(frames[0]), 3);
    EXPECT_GE(rowRange(frames[1]), 30);
    EXPECT_GT(MeanLuma(frames[0], 0, kSize - 1), 100.0);
}

TEST_F(EffectPixels, TheCartoonShowsExactlyTheRampsTwoTones) {
    constexpr std::uint32_t kShadow = 0xFF3030A0, kLit = 0xFFFFC060;
    const Pixels pixels = Draw("cartoon", {[] {
                                   CLight light;
                                   Light(light, D3DXVECTOR3(1.0f, -1.0f, 1.0f));
                                   CCartoonShader effect;
                                   effect.Init();
                                   CTorusObject torus;
                                   torus.UseShader(true);
                                   torus.SetRotation(0.0f, 0.9f, 0.0f);
                                   torus.Init();
                                   // u = N.L: shadow below 0.3, lit above.
                                   const std::vector<BYTE> ramp = EncodeBmp24(
                                       32, 4, [](int x, int) { return (x < 10 ? kShadow : kLit) & 0xFFFFFF; });
                                   torus.SetEffectTexture(ramp.data(), static_cast<int>(ramp.size()), ETT_TEXTURE);
                                   torus.SetTextureFilter(D3DTEXF_POINT);
                                   torus.SetTextureColorBlendingOperation(D3DTOP_SELECTARG2, 1);  // the ramp alone
                                   torus.SetTextureAlphaBlendingOperation(D3DTOP_SELECTARG1, 1);
                                   // N.L below 0 stays in the shadow instead of wrapping round.
                                   IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
                                   device->SetTextureStageState(1, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
                                   device->SetTextureStageState(1, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
                                   torus.SetShader(&effect);
                                   torus.Render();
                               }})[0];
    const int object = kSize * kSize - CountPixels(pixels, kBackground, 2);
    const int shadow = CountPixels(pixels, kShadow, 4), lit = CountPixels(pixels, kLit, 4);
    EXPECT_GT(shadow, 100);
    EXPECT_GT(lit, 100);
    EXPECT_EQ(shadow + lit, object);
}

// A cube map of six plain colours seen on a box from three axes. Each face
// reflects the cube face behind the camera (first texture pair), blended by
// the base object's stage states with the weaker bend (second pair) that
// still looks ahead: 0x88 / 255 of the one, the rest of the other.
TEST_F(EffectPixels, TheReflectionSamplesTheCubeFaceInTheReflectedDirection) {
    static const std::uint32_t kFaceColours[6] = {0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF,
                                                  0xFFFF00FF, 0xFF00FF00, 0xFFFF0000};  // +x -x +y -y +z -z
    const auto box = [] {
        IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
        CReflectionShader effect;
        effect.Init();
        CBoxObject box;
        box.UseShader(true);
        box.SetSize(2.0f, 2.0f, 2.0f);
        box.Init();
        ASSERT_TRUE(box.CreateEffectTexture(8, 8, ETT_CUBEMAP));
        IDirect3DSurface8 *target = nullptr, *depth = nullptr, *face = nullptr;
        device->GetRenderTarget(&target);
        device->GetDepthStencilSurface(&depth);
        for (int i = 0; i < 6; ++i) {
            ASSERT_EQ(box.GetEffectCubeTexture()->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(i), 0, &face),
                      D3D_OK);
            device->SetRenderTarget(face, box.GetEffectTextureBuffer().surface);
            device->Clear(0, nullptr, D3DCLEAR_TARGET, kFaceColours[i], 1.0f, 0);
            face->Release();
        }
        device->SetRenderTarget(target, depth);
        target->Release();
        depth->Release();
        box.SetTextureAlphaBlendingOperation(D3DTOP_SELECTARG1, 0);  // the cube map's alpha alone
        box.SetShader(&effect);
        box.Render();
    };
    const auto frames = Draw("reflection", {box, box, box}, {{0, 0, -5}, {0, 5, 0}, {5, 0, 0}});
    const auto blend = [](int reflected, int bent) {
        std::uint32_t argb = 0xFF000000u;
        for (int shift : {16, 8, 0}) {
            const int a = (kFaceColours[reflected] >> shift) & 0xFF, b = (kFaceColours[bent] >> shift) & 0xFF;
            argb |= static_cast<std::uint32_t>((a * 0x88 + b * (255 - 0x88) + 127) / 255) << shift;
        }
        return argb;
    };
    EXPECT_COLOR_NEAR(PixelAt(frames[0], kSize, kSize / 2, kSize / 2), blend(5, 4), 6);  // from -z: -z, bent +z
    EXPECT_COLOR_NEAR(PixelAt(frames[1], kSize, kSize / 2, kSize / 2), blend(2, 3), 6);  // from +y: +y, bent -y
    EXPECT_COLOR_NEAR(PixelAt(frames[2], kSize, kSize / 2, kSize / 2), blend(0, 1), 6);  // from +x: +x, bent -x
}
