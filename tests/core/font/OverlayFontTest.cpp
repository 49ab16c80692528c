// The overlay font on the headless surface: atlas sizes, where DrawTextA puts
// its characters, what it skips, line breaks, long strings over several
// vertex-buffer batches, 3D text and the banner EndScene draws.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/CoreTestSupport.h"
#include "core/CD3DFont.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "support/CRedPixelShader.h"
#include "support/PixelProbe.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

class OverlayFontTest : public testing::Test {
protected:
    void SetUp() override {
        CTempFolder::EnterPrivateWorkingFolder();
        CScreen& screen = CScreen::Instance();
        screen.ViewInfo(false);
        screen.SetShowFPS(false);
        for (int line = 0; line < 8; ++line)
            screen.DisplayMessage("", line);
        screen.SetBackgroundColor(D3DCOLORVALUE{0, 0, 0, 1});
    }

    // One frame per text: each is drawn with a fresh 12-point bold Arial at
    // (2, 0) in white and read back.
    std::vector<Pixels> DrawEach(const std::vector<std::string>& texts, int width, int height) {
        std::vector<Pixels> images;
        coretest::CTestWindow window(width, height);
        CScreenRunner runner(window);
        EXPECT_TRUE(runner.RunFrames(static_cast<int>(texts.size()), [&](int frame) {
            CD3DFont font("Arial", 12, D3DFONT_BOLD);
            font.Init();
            EXPECT_EQ(font.DrawTextA(2.0f, 0.0f, 0xFFFFFFFF, texts[static_cast<size_t>(frame)].c_str(), 0), S_OK);
            images.push_back(runner.ReadBackBuffer());
            m_lineHeight = static_cast<int>(
                (font.GetTexCoords(' ')[3] - font.GetTexCoords(' ')[1]) * font.GetTextureHeight() + 0.5f);
            SIZE extent{};
            font.GetTextExtent(texts[static_cast<size_t>(frame)].c_str(), &extent);
            m_extents.push_back(extent);
        }));
        return images;
    }

    int m_lineHeight = 0;
    std::vector<SIZE> m_extents;
};

TEST_F(OverlayFontTest, AtlasSizeFollowsTheHeightAndHoldsWhiteTexels) {
    coretest::CTestWindow window(8, 8);
    CScreenRunner runner(window);
    std::vector<DWORD> sizes;
    WORD spaceTexel = 1, brightest = 0;
    ASSERT_TRUE(runner.RunFrames(1, [&](int) {
        for (DWORD height : {12u, 20u, 21u, 40u, 41u}) {
            CD3DFont font("Arial", height, 0);
            font.Init();
            sizes.push_back(font.GetTextureWidth());
            EXPECT_EQ(font.GetTextureWidth(), font.GetTextureHeight());
            EXPECT_FLOAT_EQ(font.GetTextScale(), 1.0f);
            if (height != 12)
                continue;
            D3DSURFACE_DESC desc{};
            font.GetTexture()->GetLevelDesc(0, &desc);
            EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
            D3DLOCKED_RECT locked{};
            ASSERT_EQ(font.GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), S_OK);
            const auto& space = font.GetTexCoords(' ');
            const auto texel = [&](int x, int y) {
                return reinterpret_cast<const WORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x];
            };
            spaceTexel = texel(static_cast<int>(space[0] * 256) + 1, static_cast<int>(space[1] * 256) + 5);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    const WORD value = texel(x, y);
                    // Every texel is transparent or white with 4-bit alpha.
                    if (value != 0 && (value & 0x0FFF) != 0x0FFF)
                        ADD_FAILURE() << "texel " << value;
                    brightest = std::max(brightest, value);
                }
            }
            font.GetTexture()->UnlockRect(0);
        }
    }));
    EXPECT_EQ(sizes, (std::vector<DWORD>{256, 256, 512, 512, 1024}));
    EXPECT_EQ(spaceTexel, 0);
    EXPECT_EQ(brightest, 0xFFFF);
}

TEST_F(OverlayFontTest, TextStartsAtItsPositionAndSkipsControlCharacters) {
    const std::vector<Pixels> images = DrawEach({"W", "AB", "A\x01\x02\tB", "\x01\x7f\xe9", "A\nA"}, 96, 48);
    ASSERT_EQ(images.size(), 5u);

    const SPixelBox w = LitBox(images[0], 96, 150);
    ASSERT_FALSE(w.Empty());
    // The first cell's top left is (2, 0): the glyph starts just right of
    // x = 2 and within the cell's height.
    EXPECT_GE(w.left, 2);
    EXPECT_LE(w.left, 4);
    EXPECT_LE(w.top, 6);
    EXPECT_LT(w.bottom, m_lineHeight);
    EXPECT_GE(MaxBrightness(images[0]), 240);

    // Control characters take no space, and bytes above '~' draw nothing.
    EXPECT_EQ(images[2], images[1]);
    EXPECT_TRUE(LitBox(images[3], 96).Empty());

    // "\n" starts the next line at the starting x, one line height lower.
    const SPixelBox first = LitBox(images[4], 96, 40, 0, m_lineHeight - 1);
    const SPixelBox second = LitBox(images[4], 96, 40, m_lineHeight, 47);
    ASSERT_FALSE(second.Empty());
    EXPECT_EQ(second.left, first.left);
    EXPECT_EQ(second.right, first.right);
    EXPECT_EQ(second.top, first.top + m_lineHeight);
    EXPECT_EQ(m_extents[4].cy, 2 * m_lineHeight);
}

// Text after an object that drew with a pixel shader: the text is still
// white through the stage cascade, and the caller's shader is set again.
TEST_F(OverlayFontTest, TextAfterAPixelShaderIsItsOwnColourAndGivesTheShaderBack) {
    coretest::CTestWindow window(96, 48);
    CScreenRunner runner(window);
    Pixels image;
    EXPECT_TRUE(runner.RunFrames(1, [&](int) {
        IDirect3DDevice8* device = CScreen::Instance().GetD3DDevice();
        const CRedPixelShader red(device);
        CD3DFont font("Arial", 12, D3DFONT_BOLD);
        font.Init();
        EXPECT_EQ(font.DrawTextA(2.0f, 0.0f, 0xFFFFFFFF, "W", 0), S_OK);
        DWORD after = 0;
        device->GetPixelShader(&after);
        EXPECT_EQ(after, red.Handle());
        device->SetPixelShader(0);
        image = runner.ReadBackBuffer();
    }));
    EXPECT_GE(MaxBrightness(image), 240);  // white, not red
}

TEST_F(OverlayFontTest, LongTextIsDrawnAcrossSeveralBatches) {
    const std::string text(130, 'I');  // three vertex-buffer fills
    const std::vector<Pixels> images = DrawEach({text}, 1024, 24);
    ASSERT_EQ(images.size(), 1u);
    const SPixelBox box = LitBox(images[0], 1024);
    ASSERT_FALSE(box.Empty());
    // The last character ends where the text's extent says.
    EXPECT_NEAR(box.right, 2 + m_extents[0].cx, 3);
    // Every character is there: count the lit columns' runs.
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < 1024; ++x) {
        bool lit = false;
        for (int y = 0; y < 24 && !lit; ++y)
            lit = Brightness(images[0][static_cast<size_t>(y) * 1024 + x]) > 40;
        if (lit && !inRun)
            ++runs;
        inRun = lit;
    }
    EXPECT_EQ(runs, 130);
}

TEST_F(OverlayFontTest, TextExtentMeasuresTheWidestLine) {
    coretest::CTestWindow window(8, 8);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(1, [&](int) {
        CD3DFont font("Arial", 12, D3DFONT_BOLD);
        font.Init();
        SIZE ab{}, abNewlineA{}, a{};
        EXPECT_EQ(font.GetTextExtent("AB", &ab), S_OK);
        EXPECT_EQ(font.GetTextExtent("A", &a), S_OK);
        EXPECT_EQ(font.GetTextExtent("A\nAB\nA", &abNewlineA), S_OK);
        EXPECT_EQ(abNewlineA.cx, ab.cx);
        EXPECT_EQ(abNewlineA.cy, 3 * a.cy);
        EXPECT_GT(ab.cx, a.cx);
        EXPECT_EQ(font.GetTextExtent(nullptr, &ab), E_FAIL);
        EXPECT_EQ(font.GetTextExtent("A", nullptr), E_FAIL);
    }));
}

TEST_F(OverlayFontTest, DrawingWithoutDeviceObjectsFails) {
    CD3DFont font("Arial", 12, 0);
    EXPECT_EQ(font.DrawTextA(0, 0, 0xFFFFFFFF, "A", 0), E_FAIL);
    EXPECT_EQ(font.DrawTextScaled(0, 0, 0, 1, 1, 0xFFFFFFFF, "A", 0), E_FAIL);
    EXPECT_EQ(font.Render3DText("A", 0), E_FAIL);
}

TEST_F(OverlayFontTest, ThreeDimensionalTextAppearsCentredBeforeTheCamera) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(64, 64);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(1, [&](int) {
        CD3DFont font("Arial", 12, D3DFONT_BOLD);
        font.Init();
        // Start-up placed the remote camera; this frame's view is set here.
        screen.SetCamera(D3DXVECTOR3(0, 0, -3), D3DXVECTOR3(0, 0, 1));
        IDirect3DDevice8* device = screen.GetD3DDevice();
        const D3DXMATRIX view = screen.GetViewMatrix();
        device->SetTransform(D3DTS_VIEW, &view);
        D3DXMATRIX projection;
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 1.0f, 0.1f, 100.0f);
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        EXPECT_EQ(font.Render3DText("H", D3DFONT_CENTERED | D3DFONT_TWOSIDED), S_OK);
    }));
    const SPixelBox box = LitBox(runner.Pixels(), 64);
    ASSERT_FALSE(box.Empty());
    EXPECT_NEAR((box.left + box.right) / 2.0, 32.0, 4.0);
    EXPECT_NEAR((box.top + box.bottom) / 2.0, 32.0, 4.0);
}

TEST_F(OverlayFontTest, EndSceneDrawsTheBannerAndTheMessageLines) {
    CScreen& screen = CScreen::Instance();
    coretest::CTestWindow window(320, 200);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(2, nullptr));
    EXPECT_TRUE(LitBox(runner.Pixels(), 320).Empty());

    screen.ViewInfo(true);
    screen.DisplayMessage("Line three", 2);
    ASSERT_TRUE(runner.RunFrames(2, nullptr));
    screen.ViewInfo(false);
    screen.DisplayMessage("", 2);
    const Pixels& pixels = runner.Pixels();
    // Banner at y = 0 (white at alpha 200 over black), camera line at 20,
    // message line 2 at 80; nothing on the lines between.
    const SPixelBox banner = LitBox(pixels, 320, 40, 0, 19);
    ASSERT_FALSE(banner.Empty());
    EXPECT_GE(banner.left, 2);
    EXPECT_LE(banner.left, 4);
    EXPECT_LE(banner.top, 6);
    const int brightest = MaxBrightness(pixels);
    EXPECT_GE(brightest, 180);
    EXPECT_LE(brightest, 215);
    EXPECT_FALSE(LitBox(pixels, 320, 40, 20, 39).Empty());
    EXPECT_TRUE(LitBox(pixels, 320, 40, 40, 79).Empty());
    EXPECT_FALSE(LitBox(pixels, 320, 40, 80, 99).Empty());
    EXPECT_TRUE(LitBox(pixels, 320, 40, 100, 199).Empty());
}

}  // namespace
