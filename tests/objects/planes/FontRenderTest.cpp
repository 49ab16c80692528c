// Drawing text: glyph placement (the -W shift, centre-to-centre spacing,
// zoom), empty texts, the default font found at Init, and white text on
// real pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CBmpFonts.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/PixelProbe.h"

namespace {

constexpr int kSize = 256;

class FontRenderTest : public testing::Test {
protected:
    void SetUp() override {
        planetest::PrepareScreen();
        // A font of two glyphs: A the red left half of the texture, B the
        // green right half.
        const auto folder = CTempFolder::EnterPrivateWorkingFolder() / "twohalves";
        std::filesystem::create_directories(folder);
        planetest::WriteBandedBmp(folder / "halves.png", 64, 64, {0xFF0000, 0x00FF00});
        const std::string descriptor = "A 0,0 0.5,1\nB 0.5,0 1,1\n";
        planetest::WriteBytes(folder / "halves.bnf", std::vector<unsigned char>(descriptor.begin(), descriptor.end()));
        halves = (folder / "halves.png").string();
    }

    // Renders the font in one frame on a kSize x kSize surface and returns
    // the frame; setUp prepares the font on the render thread.
    template <class TSetUp>
    std::vector<std::uint32_t> Draw(TSetUp setUp) {
        CHeadlessWindow window(kSize, kSize);
        CScreenRunner runner(window);
        std::unique_ptr<CBmpFonts> font;
        EXPECT_TRUE(runner.RunFrames(1, [&](int) {
            font = std::make_unique<CBmpFonts>();
            font->SetLighting(false);
            setUp(*font);
            font->Render();
            font.reset();
        }));
        return runner.Pixels();
    }

    // RGB only; at() turns a coordinate outside the picture into a failure.
    static std::uint32_t At(const std::vector<std::uint32_t>& pixels, int x, int y) {
        return pixels.at(static_cast<size_t>(y) * kSize + x) & 0xFFFFFF;
    }

    // Pixel column of screen-overlay x (the screen spans -0.5 .. 0.5).
    static int Column(float x) { return static_cast<int>((x + 0.5f) * kSize); }

    std::string halves;
};

}  // namespace

TEST_F(FontRenderTest, GlyphsSitCentreToCentreShiftedByTheLineWidth) {
    const auto pixels = Draw([&](CBmpFonts& font) {
        font.SetTexture(halves, 0);
        font.SetText("AB");
    });
    // W = 2 x 0.5 / 4 = 0.25. A is centred at -W, 0.125 wide; B one glyph
    // width further; both 0.375 high (vertical zoom 1.5).
    EXPECT_EQ(At(pixels, Column(-0.25f), 128), 0xFF0000u);
    EXPECT_EQ(At(pixels, Column(-0.125f), 128), 0x00FF00u);
    EXPECT_EQ(At(pixels, Column(-0.25f), 128 - 44), 0xFF0000u);
    EXPECT_EQ(At(pixels, Column(-0.25f), 128 - 52), 0u);
    EXPECT_EQ(At(pixels, Column(-0.34f), 128), 0u);
    EXPECT_EQ(At(pixels, Column(-0.04f), 128), 0u);
    EXPECT_EQ(At(pixels, Column(0.1f), 128), 0u);
}

TEST_F(FontRenderTest, HorizontalZoomWidensGlyphsButNotTheShift) {
    const auto pixels = Draw([&](CBmpFonts& font) {
        font.SetTexture(halves, 0);
        font.SetText("AB");
        font.SetZoomFactor(2.0f, 1.5f);
    });
    // A still centred at -0.25, now 0.25 wide; B centred at 0.
    EXPECT_EQ(At(pixels, Column(-0.36f), 128), 0xFF0000u);
    EXPECT_EQ(At(pixels, Column(-0.14f), 128), 0xFF0000u);
    EXPECT_EQ(At(pixels, Column(-0.1f), 128), 0x00FF00u);
    EXPECT_EQ(At(pixels, Column(0.1f), 128), 0x00FF00u);
    EXPECT_EQ(At(pixels, Column(-0.4f), 128), 0u);
    EXPECT_EQ(At(pixels, Column(0.15f), 128), 0u);
}

TEST_F(FontRenderTest, EmptyTextDrawsNothingAndPivotsAreRestored) {
    D3DXVECTOR3 afterEmpty, afterText;
    Draw([&](CBmpFonts& font) {
        font.SetTexture(halves, 0);
        font.SetPivot(0.01f, 0.02f, 0.03f);
        font.SetText("");
        font.Render();
        afterEmpty = font.GetPivot();
        font.SetText("BA");
    });
    EXPECT_EQ(afterEmpty, D3DXVECTOR3(0.01f, 0.02f, 0.03f));
    const auto pixels = Draw([&](CBmpFonts& font) {
        font.SetTexture(halves, 0);
        font.SetText("BA");
        font.SetPivot(0.01f, 0.02f, 0.03f);
        font.Render();
        afterText = font.GetPivot();
        font.SetText("");
        // Cleared again, the empty text then draws on a black frame.
        CScreen::Instance().Clear();
    });
    EXPECT_EQ(afterText, D3DXVECTOR3(0.01f, 0.02f, 0.03f));
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p & 0xFFFFFF) == 0; }));
}

TEST_F(FontRenderTest, DefaultFontDrawsWhiteTextWhereExpected) {
    CString texture;
    CBmpFonts::SGlyph glyphs[5] = {};
    const std::string text = "HELLO";
    const auto pixels = Draw([&](CBmpFonts& font) {
        font.Init();
        texture = font.GetTexture(0);
        for (size_t i = 0; i < text.size(); ++i)
            glyphs[i] = font.GetGlyph(static_cast<unsigned char>(text[i]));
        font.SetText(text);
        font.SetZoomFactor(4.0f, 4.0f);
    });
    const std::string program = std::filesystem::canonical("/proc/self/exe").parent_path().string();
    EXPECT_EQ(texture, program + "/media/fonts/arial.png");

    // The cells the font's descriptor gives, laid out as the text is drawn.
    float lineWidth = 0.0f;
    for (const auto& g : glyphs)
        lineWidth += (g.right - g.left) * 0.25f;
    const float left = -lineWidth - (glyphs[0].right - glyphs[0].left) * 0.5f;
    float pen = 0.0f;
    // At zoom 4 a glyph is as wide in screen units as its cell in texture
    // units, and the pen moves by half of two neighbouring widths.
    for (int i = 0; i < 4; ++i) {
        pen += ((glyphs[i].right - glyphs[i].left) + (glyphs[i + 1].right - glyphs[i + 1].left)) * 0.5f;
    }
    const float right = pen - lineWidth + (glyphs[4].right - glyphs[4].left) * 0.5f;
    const float halfHeight = (glyphs[0].bottom - glyphs[0].top) * 0.5f;
    ASSERT_LT(left, right);

    int inside = 0, outside = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t p = At(pixels, x, y);
            const bool white = Red(p) > 200 && Green(p) > 200 && Blue(p) > 200;
            if (!white)
                continue;
            const float sx = (x + 0.5f) / kSize - 0.5f;
            const float sy = 0.5f - (y + 0.5f) / kSize;
            const bool inBox = sx >= left - 0.01f && sx <= right + 0.01f && std::fabs(sy) <= halfHeight + 0.01f;
            (inBox ? inside : outside)++;
        }
    }
    EXPECT_GT(inside, 200);  // strokes of five large capitals
    EXPECT_EQ(outside, 0);
    // Letters, not filled boxes: the H has a gap between its stems.
    const int gapRow = static_cast<int>((0.5f - halfHeight * 0.5f) * kSize);
    int whiteInRow = 0;
    for (int x = Column(left); x <= Column(right); ++x) {
        const std::uint32_t p = At(pixels, x, gapRow);
        whiteInRow += Red(p) > 200 ? 1 : 0;
    }
    EXPECT_GT(whiteInRow, 0);
    EXPECT_LT(whiteInRow, Column(right) - Column(left));
}
