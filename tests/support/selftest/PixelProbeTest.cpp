// The pixel probes on small hand-made images: colour tolerance per channel,
// counts, silhouettes against a background and lit boxes within rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/PixelProbe.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

// A width x height image of one colour with some pixels set.
std::vector<std::uint32_t> Image(int width, int height, std::uint32_t fill,
                                 const std::vector<std::pair<std::pair<int, int>, std::uint32_t>>& set = {}) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width * height), fill);
    for (const auto& [at, color] : set) {
        pixels[static_cast<size_t>(at.second * width + at.first)] = color;
    }
    return pixels;
}

}  // namespace

TEST(PixelProbe, ColoursAreNearWhenEveryChannelIsWithinTheToleranceWhateverTheAlpha) {
    EXPECT_TRUE(ColorNear(0xFF102030u, 0x00132333u, 3));
    EXPECT_FALSE(ColorNear(0xFF102030u, 0xFF142030u, 3));  // red 4 off
    EXPECT_FALSE(ColorNear(0xFF102030u, 0xFF10202Cu, 3));  // blue 4 off the other way
    EXPECT_TRUE(ColorNear(0xFF000000u, 0xFF181818u, 24));
    EXPECT_EQ(ColorText(0x0A0B0C0Du), "0x0A0B0C0D");
    EXPECT_EQ(Red(0x80402010u), 0x40);
    EXPECT_EQ(Green(0x80402010u), 0x20);
    EXPECT_EQ(Blue(0x80402010u), 0x10);
    EXPECT_EQ(Brightness(0xFFC8FF64u), 0x64);
}

TEST(PixelProbe, CountsAndPixelsAreFoundByRowAndColumn) {
    const auto pixels = Image(4, 3, kBlack, {{{3, 0}, 0xFFFF0000u}, {{0, 2}, 0xFFFD0202u}, {{1, 2}, 0xFFF00000u}});
    EXPECT_EQ(PixelAt(pixels, 4, 3, 0), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(pixels, 4, 0, 2), 0xFFFD0202u);
    EXPECT_EQ(CountPixels(pixels, 0xFFFF0000u), 2);
    EXPECT_EQ(CountPixels(pixels, 0xFFFF0000u, 15), 3);
    EXPECT_EQ(CountPixels(pixels, kBlack), 9);
}

TEST(PixelProbe, SilhouetteBoundsWhatDiffersFromTheBackground) {
    const auto pixels = Image(6, 5, kBlack, {{{1, 3}, 0xFF808080u}, {{4, 1}, 0xFF030303u}, {{2, 2}, 0xFF020202u}});
    // The nearly black pixels count as background by default.
    const SPixelBox box = Silhouette(pixels, kBlack, 6);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 1);
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(box.bottom, 3);
    // A tighter tolerance takes them in.
    const SPixelBox strict = Silhouette(pixels, kBlack, 6, 1);
    EXPECT_EQ(strict.left, 1);
    EXPECT_EQ(strict.right, 4);
    EXPECT_EQ(strict.top, 1);
    EXPECT_EQ(strict.bottom, 3);
    EXPECT_EQ(strict.Width(), 4);
    EXPECT_EQ(strict.Height(), 3);
    EXPECT_TRUE(Silhouette(Image(6, 5, kBlack), kBlack, 6).Empty());
}

TEST(PixelProbe, LitBoxNeedsEveryChannelLitAndLooksOnlyAtTheGivenRows) {
    const auto pixels = Image(5, 6, kBlack, {{{0, 0}, 0xFFFFFF00u}, {{2, 1}, 0xFFFFFFFFu}, {{4, 4}, 0xFF606060u}});
    const SPixelBox all = LitBox(pixels, 5);
    EXPECT_EQ(all.left, 2);  // yellow has no blue: not lit
    EXPECT_EQ(all.top, 1);
    EXPECT_EQ(all.right, 4);
    EXPECT_EQ(all.bottom, 4);
    const SPixelBox brightOnly = LitBox(pixels, 5, 0x60);  // 0x60 itself is not brighter
    EXPECT_EQ(brightOnly.right, 2);
    EXPECT_EQ(brightOnly.bottom, 1);
    const SPixelBox lower = LitBox(pixels, 5, 40, 2);
    EXPECT_EQ(lower.left, 4);
    EXPECT_EQ(lower.top, 4);
    EXPECT_TRUE(LitBox(pixels, 5, 40, 2, 3).Empty());
    EXPECT_TRUE(LitBox(pixels, 5, 40, 5, 99).Empty());
    EXPECT_EQ(MaxBrightness(pixels), 0xFF);
}
