#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fontimport/CFontBitmaps.h"
#include "platform/text/CGlyphRasterizer.h"

namespace {

using testing::HasSubstr;

CFontImportSettings LiberationSans(const std::string& characters, int pointSize = 12, int textureSize = 256) {
    CFontImportSettings settings;
    settings.faceName = "Liberation Sans";
    settings.pointSize = pointSize;
    settings.textureSize = textureSize;
    settings.characters = characters;
    return settings;
}

// The mask value at a pixel of a cell (cell coordinates in pixels).
std::uint8_t MaskAt(const CFontBitmaps& bitmaps, int x, int y) {
    return bitmaps.GetMask()[static_cast<std::size_t>(y) * bitmaps.GetSize() + x];
}

TEST(FontBitmaps, LaysOutTheFontsCellsAtNinetySixDpi) {
    CFontBitmaps bitmaps;
    const SFontImportResult result = bitmaps.Build(LiberationSans("AWi", 12, 512));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(bitmaps.GetCharacters(), "AWi");

    CGlyphRasterizer font;
    ASSERT_TRUE(font.Create({"Liberation Sans", -16, 400, false}));  // 12 pt at 96 dpi = 16 pixels
    const SIZE a = font.GetCharExtent('A');
    const SIZE w = font.GetCharExtent('W');
    const float size = 512.0f;
    EXPECT_EQ(bitmaps.GetCell('A'), (SGlyphCell{0.0f, 0.0f, a.cx / size, a.cy / size}));
    EXPECT_EQ(bitmaps.GetCell('W'), (SGlyphCell{(a.cx + 1) / size, 0.0f, (a.cx + 1 + w.cx) / size, w.cy / size}));
    EXPECT_FLOAT_EQ(bitmaps.GetCell('i').left, (a.cx + 1 + w.cx + 1) / size);

    // Glyphs are drawn inside their cells only: the pixel column between
    // two cells and everything below the row stay transparent.
    int covered = 0;  // pixels a glyph touches
    for (int y = 0; y < bitmaps.GetSize(); ++y) {
        for (int x = 0; x < bitmaps.GetSize(); ++x) {
            const bool inRow = y < a.cy && x < a.cx + 1 + w.cx + 1 + font.GetCharExtent('i').cx;
            const bool gap = x == a.cx || x == a.cx + 1 + w.cx;
            if (!inRow || gap) {
                ASSERT_EQ(MaskAt(bitmaps, x, y), 0) << x << "," << y;
            } else if (MaskAt(bitmaps, x, y) != 0) {
                ++covered;
            }
        }
    }
    EXPECT_GT(covered, 100);
}

TEST(FontBitmaps, PreviewShowsTheTextColourOnTheChosenBackground) {
    CFontImportSettings settings = LiberationSans("|", 40);
    settings.textColor = {200, 40, 10};
    CFontBitmaps bitmaps;
    ASSERT_TRUE(bitmaps.Build(settings).ok);
    auto previewAt = [&](std::size_t pixel) {
        const auto* p = &bitmaps.GetPreview()[pixel * 4];
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    bool sawGlyph = false;
    bool sawEdge = false;
    for (std::size_t pixel = 0; pixel < bitmaps.GetMask().size(); ++pixel) {
        const std::uint8_t coverage = bitmaps.GetMask()[pixel];
        if (coverage == 0) {
            ASSERT_EQ(previewAt(pixel), (std::vector<int>{255, 255, 255, 255}));
        } else if (coverage == 255) {
            ASSERT_EQ(previewAt(pixel), (std::vector<int>{200, 40, 10, 255}));
            sawGlyph = true;
        } else {
            EXPECT_GT(previewAt(pixel)[1], 40);  // between text colour and white
            sawEdge = true;
        }
    }
    EXPECT_TRUE(sawGlyph);
    EXPECT_TRUE(sawEdge);  // antialiased

    settings.blackBackground = true;
    ASSERT_TRUE(bitmaps.Build(settings).ok);
    EXPECT_EQ(previewAt(bitmaps.GetMask().size() - 1), (std::vector<int>{0, 0, 0, 255}));
}

TEST(FontBitmaps, WarnsAboutCharactersItCannotPlace) {
    CFontBitmaps bitmaps;
    SFontImportResult result = bitmaps.Build(LiberationSans("A\tB\xE9"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(bitmaps.GetCharacters(), "AB");  // the tab and the Latin-1 e-acute are left out
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_THAT(result.warnings[0], HasSubstr("left out: 9, 233."));

    // 24 points do not fit 256 x 256; 512 x 512 holds them.
    result = bitmaps.Build(LiberationSans("", 24, 256));
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_THAT(result.warnings[0], HasSubstr("do not fit into the 256 x 256 texture"));
    EXPECT_THAT(result.warnings[0], HasSubstr("~"));
    EXPECT_GT(bitmaps.GetCell('~').bottom, 1.0f);
    result = bitmaps.Build(LiberationSans("", 24, 512));
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_LE(bitmaps.GetCell('~').bottom, 1.0f);

    // Text objects take the blank's line for a "0" line, so a "0" must follow it.
    EXPECT_THAT(bitmaps.Build(LiberationSans("0 ")).warnings, testing::ElementsAre(HasSubstr("blank")));
    EXPECT_TRUE(bitmaps.Build(LiberationSans(" 0")).warnings.empty());
}

TEST(FontBitmaps, RefusesSettingsItCannotBuild) {
    CFontBitmaps bitmaps;
    CFontImportSettings settings = LiberationSans("");
    settings.textureSize = 300;
    SFontImportResult result = bitmaps.Build(settings);
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.error, HasSubstr("256 or 512"));
    EXPECT_FALSE(bitmaps.IsBuilt());

    settings = LiberationSans("", 0);
    EXPECT_FALSE(bitmaps.Build(settings).ok);
    ASSERT_TRUE(bitmaps.Build(LiberationSans("A")).ok);
    EXPECT_TRUE(bitmaps.IsBuilt());
}

}  // namespace
