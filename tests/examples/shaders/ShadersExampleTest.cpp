// The shader effects example, run off screen for two seconds: the tiled,
// bump-lit sphere on the left, the two-tone torus in the middle and the box
// mirroring sky and ground on the right. The picture stays in screenshots/.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "common/CExampleTest.h"

namespace {

// The cartoon ramp's two tones, as the example makes them.
constexpr std::uint32_t kShadowTone = 0xFF2E7A4A;
constexpr std::uint32_t kLitTone = 0xFF8EE070;

class ShadersExample : public CExampleTest {
protected:
    ShadersExample() : CExampleTest(LVX_EXAMPLE_SHADERS, "shaders") {}
};

// How many pixels of columns first..last pass `keep`.
int Count(const lvxtest::SImage& image, int first, int last, const std::function<bool(std::uint32_t)>& keep) {
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = first; x <= last; ++x) {
            count += keep(image.At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST_F(ShadersExample, ShowsATiledSphereATwoToneTorusAndAMirrorBox) {
    const lvxtest::SImage image = Shoot(50);
    ASSERT_EQ(image.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    const int third = kWidth / 3;
    const std::uint32_t background = image.At(5, 5);

    // Left: terracotta tiles, lit per pixel.
    EXPECT_GT(Count(image, 0, third,
                    [](std::uint32_t p) { return Red(p) > 90 && Red(p) > Green(p) + 30 && Green(p) > Blue(p); }),
              8000);
    // Middle: the torus in the two tones of its ramp and nothing else.
    const int from = third + 30, to = 2 * third - 40;  // clear of the sphere and the box
    const int shadow = Count(image, from, to, [](std::uint32_t p) { return ColorNear(p, kShadowTone, 3); });
    const int lit = Count(image, from, to, [](std::uint32_t p) { return ColorNear(p, kLitTone, 3); });
    EXPECT_GT(shadow, 3000);
    EXPECT_GT(lit, 3000);
    EXPECT_EQ(Count(image, from, to, [&](std::uint32_t p) { return !ColorNear(p, background, 3); }), shadow + lit);
    // Right: the box mirrors blue sky and brown ground.
    EXPECT_GT(
        Count(image, 2 * third, kWidth - 1, [](std::uint32_t p) { return Blue(p) > 150 && Blue(p) > Red(p) + 40; }),
        3000);
    EXPECT_GT(Count(image, 2 * third, kWidth - 1,
                    [](std::uint32_t p) { return Red(p) > 90 && Red(p) > Blue(p) + 25 && Green(p) > Blue(p); }),
              3000);
}
