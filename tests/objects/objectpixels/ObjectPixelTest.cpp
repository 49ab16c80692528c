// Solids drawn by a running screen on the headless surface: colours,
// keyframes that change nothing, the selection wireframe, the overlay
// projections and rendering into a texture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CBoxObject.h"
#include "objects/CSphereObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CScene.h"
#include "support/BmpFile.h"
#include "support/CScreenStateGuard.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kSize = 64;
constexpr std::uint32_t kBackground = 0xFF000000;

// Frames drawn by the screen on a headless surface: the camera five units
// in front of the origin, white ambient light (so that a 0.5 material shows
// as 0.5) and a black background. Each frame function draws and returns.
class ObjectPixels : public ::testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.ViewInfo(false);
        screen.SetShowFPS(false);
        screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
        screen.SetAmbientLight(1);
        screen.SetAmbientColor(D3DCOLORVALUE{1, 1, 1, 1});
    }

    // Runs one frame per function and returns each frame's pixels.
    std::vector<std::vector<std::uint32_t>> Draw(const std::vector<std::function<void()>>& frames) {
        std::vector<std::vector<std::uint32_t>> pixels;
        CScreenRunner runner(window);
        const bool ran = runner.RunFrames(static_cast<int>(frames.size()), [&](int frame) {
            CScreen::Instance().SetCamera(D3DXVECTOR3(0, 0, -5), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
            frames[static_cast<size_t>(frame)]();
            pixels.push_back(runner.ReadBackBuffer());
        });
        EXPECT_TRUE(ran);
        pixels.resize(frames.size());
        return pixels;
    }

    CHeadlessWindow window{kSize, kSize};
    CScreenStateGuard screenState;  // last: restores the screen before the window goes
};

}  // namespace

TEST_F(ObjectPixels, ANewBoxIsMidGreyAndAKeyFrameChangesNothing) {
    std::unique_ptr<CBoxObject> box;
    std::unique_ptr<CSphereObject> ball;
    const auto frames = Draw({
        [&] {
            box = std::make_unique<CBoxObject>();
            box->Render();
        },
        [&] {
            box->AddKeyFrame(3.0f);
            box->AddKeyFrame(0.5f);
            box->Render();
        },
        [&] {
            box.reset();
            ball = std::make_unique<CSphereObject>();
            ball->Render();
            ball.reset();
        },
    });
    const auto& plain = frames[0];
    ASSERT_EQ(plain.size(), static_cast<size_t>(kSize * kSize));
    EXPECT_TRUE(ColorNear(PixelAt(plain, kSize, 32, 32), 0xFF808080, 3)) << ColorText(PixelAt(plain, kSize, 32, 32));
    EXPECT_TRUE(ColorNear(PixelAt(plain, kSize, 1, 1), kBackground, 2));
    const SPixelBox box0 = Silhouette(plain, kBackground, kSize, 2);
    EXPECT_GT(box0.Width(), 4);
    EXPECT_LT(box0.Width(), 40);
    EXPECT_NEAR((box0.left + box0.right) / 2.0, 31.5, 1.5);  // centred
    EXPECT_EQ(frames[1], plain);
    // The sphere shows its outer side to the camera (back faces are culled).
    ASSERT_EQ(frames[2].size(), plain.size());
    EXPECT_TRUE(ColorNear(PixelAt(frames[2], kSize, 32, 32), 0xFF808080, 3))
        << ColorText(PixelAt(frames[2], kSize, 32, 32));
}

TEST_F(ObjectPixels, ASelectedObjectIsARedWireframe) {
    std::unique_ptr<CBoxObject> box;
    const auto frames = Draw({
        [&] {
            box = std::make_unique<CBoxObject>();
            box->SetRotation(0.5f, 0.3f, 0.0f);
            box->Render();
        },
        [&] {
            box->SetSelected(true);
            box->Render();
            box.reset();
        },
    });
    const auto& solid = frames[0];
    const auto& selected = frames[1];
    ASSERT_FALSE(selected.empty());
    const int red = CountPixels(selected, 0xFFFF0000);
    EXPECT_GT(red, 20);
    EXPECT_LT(red, CountPixels(solid, 0xFF808080) + CountPixels(solid, 0xFFFF0000));  // edges only
    EXPECT_TRUE(ColorNear(PixelAt(selected, kSize, 32, 32), kBackground, 2))
        << ColorText(PixelAt(selected, kSize, 32, 32));
    const SPixelBox outline = Silhouette(selected, kBackground, kSize, 2),
                    body = Silhouette(solid, kBackground, kSize, 2);
    EXPECT_NEAR(outline.left, body.left, 1);
    EXPECT_NEAR(outline.right, body.right, 1);
    EXPECT_NEAR(outline.top, body.top, 1);
}

TEST_F(ObjectPixels, OverlayProjectionsMapUnitsToPixelsAndToTheWindow) {
    const auto frames = Draw({
        [] {
            // Mode 0: one unit is one pixel, the origin at the window centre.
            CBoxObject box;
            box.SetProjectionMode(PM_PIXEL_OVERLAY);
            box.SetSize(10.0f, 10.0f, 10.0f);
            box.SetPosition(8.0f, 0.0f, 50.0f);
            box.Render();
        },
        [] {
            // Mode 1: -0.5 .. 0.5 spans the window; y grows upwards.
            CBoxObject box;
            box.SetProjectionMode(PM_SCREEN_OVERLAY);
            box.SetSize(0.5f, 0.25f, 0.5f);
            box.SetPosition(0.0f, 0.25f, 50.0f);
            box.Render();
        },
    });
    SPixelBox box = Silhouette(frames[0], kBackground, kSize, 2);
    EXPECT_NEAR(box.Width(), 10, 1);
    EXPECT_NEAR(box.Height(), 10, 1);
    EXPECT_NEAR((box.left + box.right + 1) / 2.0, 32 + 8, 1);
    EXPECT_NEAR((box.top + box.bottom + 1) / 2.0, 32, 1);

    box = Silhouette(frames[1], kBackground, kSize, 2);
    EXPECT_NEAR(box.Width(), 32, 1);
    EXPECT_NEAR(box.Height(), 16, 1);
    EXPECT_NEAR((box.left + box.right + 1) / 2.0, 32, 1);
    EXPECT_NEAR((box.top + box.bottom + 1) / 2.0, 16, 1);
}

TEST_F(ObjectPixels, RenderOnTextureDrawsIntoTheTextureAndRestoresTheScreen) {
    ULONG referencesBefore = 0, referencesAfter = 0;
    std::uint32_t textureCentre = 0, textureCorner = 0;
    const auto frames = Draw({[&] {
        IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
        CBoxObject canvas;
        canvas.Init();
        ASSERT_TRUE(canvas.CreateTexture(32, 32, 0));
        CBoxObject painter;
        painter.SetProjectionMode(PM_SCREEN_OVERLAY);
        painter.SetSize(0.5f, 0.5f, 0.5f);
        painter.SetPosition(0.0f, 0.0f, 50.0f);
        painter.SetColor(D3DCOLORVALUE{0.0f, 1.0f, 0.0f, 1.0f}, 0);
        painter.SetLighting(false);

        IDirect3DSurface8* target = nullptr;
        ASSERT_EQ(device->GetRenderTarget(&target), D3D_OK);
        target->AddRef();
        referencesBefore = target->Release();
        painter.RenderOnTexture(canvas.GetTextureBuffer(0), true);
        target->AddRef();
        referencesAfter = target->Release();
        target->Release();

        IDirect3DSurface8* level = nullptr;
        ASSERT_EQ(canvas.GetTextureBuffer(0).texture->GetSurfaceLevel(0, &level), D3D_OK);
        D3DLOCKED_RECT locked{};
        if (SUCCEEDED(level->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            const auto* bytes = static_cast<const BYTE*>(locked.pBits);
            textureCorner = *reinterpret_cast<const std::uint32_t*>(bytes);
            textureCentre = *reinterpret_cast<const std::uint32_t*>(bytes + 16 * locked.Pitch + 16 * 4);
            level->UnlockRect();
        }
        level->Release();
        painter.Render();  // back on the screen with the full viewport
    }});
    EXPECT_EQ(referencesAfter, referencesBefore);
    // Cleared to the painter's material colour, the box in the middle.
    EXPECT_TRUE(ColorNear(textureCentre, 0xFFFFFFFF, 3)) << ColorText(textureCentre);
    EXPECT_TRUE(ColorNear(textureCorner, 0xFF00FF00, 3)) << ColorText(textureCorner);
    const SPixelBox box = Silhouette(frames[0], kBackground, kSize, 2);
    EXPECT_NEAR(box.Width(), 32, 1);
}

// A 24-bit BMP of w x h texels of one colour (0xRRGGBB), as the chars a stream writes.
static std::vector<char> Bitmap(int width, int height, unsigned int rgb) {
    const std::vector<BYTE> file = EncodeBmp24(width, height, [rgb](int, int) { return rgb; });
    return {file.begin(), file.end()};
}

TEST_F(ObjectPixels, APackedSceneBringsItsTexturesAlong) {
    const std::string texture = (std::filesystem::current_path() / "packed-texture.bmp").string();
    const std::string sceneFile = (std::filesystem::current_path() / "packed-solids.bgs").string();
    const std::vector<char> bitmap = Bitmap(4, 4, 0x0000FF);
    std::ofstream(texture, std::ios::binary).write(bitmap.data(), static_cast<std::streamsize>(bitmap.size()));
    int objects = 0;
    float radius = 0.0f;
    bool textureLoaded = false;
    CString loadedName;
    const auto frames = Draw({[&] {
        {
            CScene scene;
            auto* box = new CBoxObject();
            box->SetObjName("textured box");
            box->SetTexture(texture, 0);
            scene.AddObject(*box);
            auto* sphere = new CSphereObject();
            sphere->SetObjName("ball");
            sphere->SetRadius(0.75f);
            scene.AddObject(*sphere);
            ASSERT_TRUE(scene.Save(sceneFile, true));
        }
        std::filesystem::remove(texture);  // only the packed copy is left
        CScene scene;
        ASSERT_TRUE(scene.Load(sceneFile, true));
        objects = scene.GetObjectNumber();
        if (auto* ball = dynamic_cast<CSphereObject*>(scene.GetObjectA(CString("ball"))))
            radius = ball->GetRadius();
        if (auto* box = dynamic_cast<CBoxObject*>(scene.GetObjectA(CString("textured box")))) {
            textureLoaded = box->GetTexturePointer(0) != nullptr;
            loadedName = box->GetTexture(0);
            box->Render();  // blue texture times the grey material
        }
    }});
    std::filesystem::remove(sceneFile);
    EXPECT_EQ(objects, 2);
    EXPECT_EQ(radius, 0.75f);
    EXPECT_TRUE(textureLoaded);
    EXPECT_EQ(loadedName, texture);
    const std::uint32_t centre = PixelAt(frames[0], kSize, 32, 32);
    EXPECT_TRUE(ColorNear(centre, 0xFF000080, 3)) << ColorText(centre);
}
