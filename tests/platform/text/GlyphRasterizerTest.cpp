// Installed fonts measured and drawn like GDI does it: face choice through
// fontconfig (Debian maps Arial to Liberation Sans), cell metrics, coverage
// confined to the character cell, bold and italic, and refused font files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/text/CFontResolver.h"
#include "platform/text/CGlyphRasterizer.h"

namespace {

constexpr std::uint8_t kUntouched = 0xAB;

// An 8-bit image with one character drawn into it.
struct SCanvas {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    SCanvas(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, kUntouched) {}
    SGlyphTarget Target() { return {pixels.data(), width, height, width, 1}; }
    std::uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    long Coverage(int top = 0, int bottom = -1) const {
        long sum = 0;
        for (int y = top; y < (bottom < 0 ? height : bottom); ++y) {
            for (int x = 0; x < width; ++x) {
                sum += At(x, y) == kUntouched ? 0 : At(x, y);
            }
        }
        return sum;
    }

    // Coverage-weighted mean column of the rows [top, bottom).
    double CentreX(int top, int bottom) const {
        double weighted = 0, total = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < width; ++x) {
                const int v = At(x, y) == kUntouched ? 0 : At(x, y);
                weighted += v * x;
                total += v;
            }
        }
        return total > 0 ? weighted / total : -1.0;
    }
};

SCanvas DrawAlone(const CGlyphRasterizer& font, unsigned char c, int size = 256) {
    SCanvas canvas(size, size);
    EXPECT_TRUE(font.DrawChar(c, 8, 8, canvas.Target()));
    return canvas;
}

CGlyphRasterizer& Font(CGlyphRasterizer& font, const char* face, int height, int weight, bool italic) {
    EXPECT_TRUE(font.Create({face, height, weight, italic})) << font.GetError();
    return font;
}

// How far the top of a vertical stroke leans right of its bottom, in pixels.
double Lean(const CGlyphRasterizer& font) {
    const SCanvas canvas = DrawAlone(font, 'I');
    int top = canvas.height, bottom = 0;
    for (int y = 0; y < canvas.height; ++y) {
        if (canvas.Coverage(y, y + 1) > 0) {
            top = std::min(top, y);
            bottom = y + 1;
        }
    }
    const int third = (bottom - top) / 3;
    EXPECT_GT(third, 5) << "no glyph drawn";
    return canvas.CentreX(top, top + third) - canvas.CentreX(bottom - third, bottom);
}

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

TEST(FontResolver, ArialResolvesToTheMetricCompatibleLiberationSans) {
    SFontFace face;
    ASSERT_TRUE(CFontResolver::Resolve("Arial", 400, false, face));
    EXPECT_EQ(face.family, "Liberation Sans");
    EXPECT_EQ(FileName(face.file), "LiberationSans-Regular.ttf");
    EXPECT_FALSE(face.bold);
    EXPECT_FALSE(face.italic);

    ASSERT_TRUE(CFontResolver::Resolve("Arial", 700, false, face));
    EXPECT_EQ(FileName(face.file), "LiberationSans-Bold.ttf");
    EXPECT_TRUE(face.bold);

    ASSERT_TRUE(CFontResolver::Resolve("arial", 700, true, face));
    EXPECT_EQ(FileName(face.file), "LiberationSans-BoldItalic.ttf");
    EXPECT_TRUE(face.italic);

    // fontconfig always substitutes something for a name it does not know.
    ASSERT_TRUE(CFontResolver::Resolve("No Such Typeface 4711", 400, false, face));
    EXPECT_TRUE(std::filesystem::is_regular_file(face.file)) << face.file;
    CGlyphRasterizer fallback;
    EXPECT_TRUE(fallback.Create({"No Such Typeface 4711", -16, 400, false})) << fallback.GetError();
    EXPECT_GT(fallback.GetCharExtent('A').cx, 0);
}

TEST(GlyphRasterizer, TwelvePointBoldArialHasGdiLikeCells) {
    EXPECT_EQ(CGlyphRasterizer::HeightFromPoints(12, 96), -16);
    EXPECT_EQ(CGlyphRasterizer::HeightFromPoints(10, 96), -13);  // 13.33 rounds down
    EXPECT_EQ(CGlyphRasterizer::HeightFromPoints(9, 96), -12);

    CGlyphRasterizer font;
    Font(font, "Arial", CGlyphRasterizer::HeightFromPoints(12, 96), 700, false);
    EXPECT_EQ(FileName(font.GetFace().file), "LiberationSans-Bold.ttf");
    EXPECT_FALSE(font.IsBoldSynthesized());

    const STextMetrics metrics = font.GetTextMetrics();
    EXPECT_GE(metrics.height, 16);
    EXPECT_LE(metrics.height, 20);
    EXPECT_EQ(metrics.ascent + metrics.descent, metrics.height);
    EXPECT_GT(metrics.ascent, 2 * metrics.descent);
    EXPECT_EQ(metrics.internalLeading, metrics.height - 16);
    EXPECT_GT(metrics.aveCharWidth, 4);
    EXPECT_LT(metrics.aveCharWidth, metrics.maxCharWidth);

    const SIZE w = font.GetCharExtent('W');
    const SIZE i = font.GetCharExtent('i');
    EXPECT_GT(w.cx, 2 * i.cx);
    EXPECT_GT(i.cx, 0);
    EXPECT_EQ(w.cy, metrics.height);
    const SIZE text = font.GetTextExtent("Wi W");
    EXPECT_EQ(text.cx, 2 * w.cx + i.cx + font.GetCharExtent(' ').cx);
    EXPECT_EQ(text.cy, metrics.height);
    EXPECT_EQ(font.GetTextExtent("").cx, 0);

    // A positive height asks for the cell height instead of the em height.
    CGlyphRasterizer byCell;
    Font(byCell, "Arial", 23, 400, false);
    EXPECT_NEAR(byCell.GetTextMetrics().height, 23, 1);
}

TEST(GlyphRasterizer, DrawingACharacterCoversOnlyItsCell) {
    CGlyphRasterizer font;
    Font(font, "Arial", -16, 700, false);
    const STextMetrics metrics = font.GetTextMetrics();
    const SIZE cell = font.GetCharExtent('A');

    SCanvas canvas(48, 40);
    const int x = 10, y = 5;
    ASSERT_TRUE(font.DrawChar('A', x, y, canvas.Target()));
    int strongPixels = 0;
    for (int py = 0; py < canvas.height; ++py) {
        for (int px = 0; px < canvas.width; ++px) {
            const bool inCell = px >= x && px < x + cell.cx && py >= y && py < y + cell.cy;
            if (!inCell) {
                EXPECT_EQ(canvas.At(px, py), kUntouched) << px << "," << py;
            } else {
                EXPECT_NE(canvas.At(px, py), kUntouched) << "the cell is drawn opaquely";
                strongPixels += canvas.At(px, py) > 200;
            }
        }
    }
    EXPECT_GT(strongPixels, 15);
    // 'A' stands on the baseline: nothing below it, nothing in the leading above.
    EXPECT_EQ(canvas.Coverage(y + metrics.ascent + 1, y + cell.cy), 0);
    EXPECT_EQ(canvas.Coverage(y, y + metrics.internalLeading - 1), 0);
    EXPECT_GT(canvas.Coverage(y + metrics.ascent - 2, y + metrics.ascent), 0);
    EXPECT_NEAR(canvas.CentreX(y, y + cell.cy), x + cell.cx / 2.0, 1.5);

    // The same glyph in a 32-bit bottom-up bitmap: grey pixels, fourth byte 0.
    std::vector<std::uint8_t> dib(static_cast<size_t>(48) * 40 * 4, kUntouched);
    const int pitch = 48 * 4;
    SGlyphTarget bottomUp{dib.data() + static_cast<size_t>(39) * pitch, 48, 40, -pitch, 4};
    ASSERT_TRUE(font.DrawChar('A', x, y, bottomUp));
    for (int py = y; py < y + cell.cy; ++py) {
        for (int px = x; px < x + cell.cx; ++px) {
            const std::uint8_t* pixel = dib.data() + static_cast<size_t>(39 - py) * pitch + px * 4;
            ASSERT_EQ(pixel[0], canvas.At(px, py)) << px << "," << py;
            ASSERT_EQ(pixel[1], pixel[0]);
            ASSERT_EQ(pixel[2], pixel[0]);
            ASSERT_EQ(pixel[3], 0);
        }
    }
}

TEST(GlyphRasterizer, DrawingAtTheEdgesNeverWritesOutsideTheBuffer) {
    CGlyphRasterizer font;
    Font(font, "Arial", -40, 400, true);
    // A 30 × 30 window inside a larger guarded image.
    SCanvas guarded(50, 50);
    SGlyphTarget window{guarded.pixels.data() + 10 * 50 + 10, 30, 30, 50, 1};
    for (const auto& [x, y] : {std::pair{-12, -20}, std::pair{25, 22}, std::pair{-1000, 5}, std::pair{5, 2000000000}}) {
        EXPECT_TRUE(font.DrawChar('W', x, y, window));
    }
    for (int py = 0; py < 50; ++py) {
        for (int px = 0; px < 50; ++px) {
            if (px < 10 || px >= 40 || py < 10 || py >= 40) {
                ASSERT_EQ(guarded.At(px, py), kUntouched) << px << "," << py;
            }
        }
    }
    EXPECT_GT(guarded.Coverage(), 0);

    SGlyphTarget invalid{guarded.pixels.data(), 30, 30, 10, 1};  // pitch shorter than a row
    EXPECT_FALSE(font.DrawChar('W', 0, 0, invalid));
    invalid = {guarded.pixels.data(), 30, 30, 30, 3};
    EXPECT_FALSE(font.DrawChar('W', 0, 0, invalid));
    invalid = {nullptr, 30, 30, 30, 1};
    EXPECT_FALSE(font.DrawChar('W', 0, 0, invalid));
}

TEST(GlyphRasterizer, BoldAndItalicChangeTheGlyphs) {
    CGlyphRasterizer regular, bold, italic;
    Font(regular, "Arial", -48, 400, false);
    Font(bold, "Arial", -48, 700, false);
    Font(italic, "Arial", -48, 400, true);
    EXPECT_EQ(FileName(italic.GetFace().file), "LiberationSans-Italic.ttf");

    EXPECT_GT(DrawAlone(bold, 'H').Coverage(), DrawAlone(regular, 'H').Coverage() * 5 / 4);
    EXPECT_LT(std::abs(Lean(regular)), 0.5);
    EXPECT_GT(Lean(italic), 3.0);  // about tan(12°) × two thirds of 34 pixels
}

TEST(GlyphRasterizer, FamiliesWithoutBoldOrItalicFacesGetThemSynthesised) {
    // DejaVu Math TeX Gyre comes in one regular face only.
    CGlyphRasterizer regular, bold, italic;
    Font(regular, "DejaVu Math TeX Gyre", -48, 400, false);
    Font(bold, "DejaVu Math TeX Gyre", -48, 700, false);
    Font(italic, "DejaVu Math TeX Gyre", -48, 400, true);
    ASSERT_EQ(FileName(regular.GetFace().file), "DejaVuMathTeXGyre.ttf");
    ASSERT_EQ(bold.GetFace().file, regular.GetFace().file);
    ASSERT_EQ(italic.GetFace().file, regular.GetFace().file);
    EXPECT_FALSE(regular.IsBoldSynthesized() || regular.IsItalicSynthesized());
    EXPECT_TRUE(bold.IsBoldSynthesized());
    EXPECT_TRUE(italic.IsItalicSynthesized());

    EXPECT_GT(DrawAlone(bold, 'H').Coverage(), DrawAlone(regular, 'H').Coverage() * 6 / 5);
    EXPECT_EQ(bold.GetCharExtent('H').cx, regular.GetCharExtent('H').cx + 2);  // 48 / 24 pixels
    EXPECT_EQ(italic.GetCharExtent('H').cx, regular.GetCharExtent('H').cx);
    EXPECT_GT(Lean(italic), 3.0);
}

TEST(GlyphRasterizer, RefusesFilesThatAreNoFonts) {
    CGlyphRasterizer font;
    EXPECT_FALSE(font.CreateFromFile("/nonexistent/folder/font.ttf", 0, {}));
    EXPECT_NE(font.GetError().find("/nonexistent/folder/font.ttf"), std::string::npos) << font.GetError();

    const std::string brokenPath = "broken font " + std::to_string(getpid()) + ".ttf";
    {
        std::ofstream broken(brokenPath, std::ios::binary);
        const char header[] = {0, 1, 0, 0, 0, 12, 0, (char)0x80, 0, 3, 0, 32};  // a TrueType start, then nothing
        broken.write(header, sizeof(header));
        broken << "garbage that is not a table directory";
    }
    EXPECT_FALSE(font.CreateFromFile(brokenPath, 0, {}));
    std::filesystem::remove(brokenPath);
    EXPECT_FALSE(font.GetError().empty());
    EXPECT_FALSE(font.IsCreated());
    EXPECT_EQ(font.GetCharExtent('A').cx, 0);
    EXPECT_EQ(font.GetTextMetrics().height, 0);
    SCanvas canvas(16, 16);
    EXPECT_FALSE(font.DrawChar('A', 0, 0, canvas.Target()));
    EXPECT_EQ(canvas.Coverage(), 0);

    EXPECT_FALSE(font.Create({"Arial", -100000, 400, false}));
    EXPECT_NE(font.GetError().find("out of range"), std::string::npos) << font.GetError();

    // A real font file is taken and described from its own names.
    SFontFace face;
    ASSERT_TRUE(CFontResolver::Resolve("Arial", 400, false, face));
    ASSERT_TRUE(font.CreateFromFile(face.file, face.index, {"", -16, 700, false})) << font.GetError();
    EXPECT_EQ(font.GetFace().family, "Liberation Sans");
    EXPECT_TRUE(font.IsBoldSynthesized());
    EXPECT_TRUE(font.GetError().empty());
}

TEST(GlyphRasterizer, OneInstanceServesTwoThreads) {
    CGlyphRasterizer font;
    Font(font, "Arial", -24, 400, false);
    const SCanvas expected = DrawAlone(font, 'g', 48);
    auto drawMany = [&font, &expected] {
        for (int i = 0; i < 200; ++i) {
            SCanvas canvas(48, 48);
            font.DrawChar('g', 8, 8, canvas.Target());
            const SIZE extent = font.GetTextExtent("Lumivexis");
            if (canvas.pixels != expected.pixels || extent.cx <= 0) {
                ADD_FAILURE() << "a concurrent draw differed";
                return;
            }
        }
    };
    std::thread first(drawMany);
    std::thread second(drawMany);
    first.join();
    second.join();
}
