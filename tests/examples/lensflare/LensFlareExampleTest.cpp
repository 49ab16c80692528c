// The lens flare example, run off screen: after 13 frames (0.48 s) the sun
// stands up and to the left of the centre with its spots strung out on the
// line through the centre; after 26 frames (1 s) the drifting box covers the
// sun and no spot is left. The pictures stay in screenshots/ beside the test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/CExampleTest.h"

namespace {

struct SPoint {
    double x = 0.0;
    double y = 0.0;
};

int Sum(std::uint32_t argb) {
    return Red(argb) + Green(argb) + Blue(argb);
}

// The colour most pixels have: the sky.
std::uint32_t MostCommonColor(const lvxtest::SImage& image) {
    std::map<std::uint32_t, int> counts;
    for (const std::uint32_t pixel : image.pixels) {
        ++counts[pixel];
    }
    std::uint32_t common = 0;
    int most = 0;
    for (const auto& [color, count] : counts) {
        if (count > most) {
            most = count;
            common = color;
        }
    }
    return common;
}

// Where a spot adds light: clearly brighter than the sky.
bool IsFlare(std::uint32_t pixel, std::uint32_t sky) {
    return Sum(pixel) >= Sum(sky) + 40;
}

// The positions of the pixels that pass `keep`, and their centroid.
template <class TKeep>
std::vector<SPoint> Pixels(const lvxtest::SImage& image, TKeep keep) {
    std::vector<SPoint> points;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (keep(image.At(x, y), x, y)) {
                points.push_back(SPoint{static_cast<double>(x), static_cast<double>(y)});
            }
        }
    }
    return points;
}

SPoint Centroid(const std::vector<SPoint>& points) {
    SPoint sum;
    for (const SPoint& p : points) {
        sum.x += p.x;
        sum.y += p.y;
    }
    const double n = points.empty() ? 1.0 : static_cast<double>(points.size());
    return SPoint{sum.x / n, sum.y / n};
}

class LensFlareExample : public CExampleTest {
protected:
    LensFlareExample() : CExampleTest(LVX_EXAMPLE_LENSFLARE, "lensflare") {}
};

}  // namespace

TEST_F(LensFlareExample, TheSpotsLineUpFromTheSunThroughTheCentre) {
    const lvxtest::SImage image = Shoot(13);
    ASSERT_EQ(image.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    const std::uint32_t sky = MostCommonColor(image);
    EXPECT_GT(Blue(sky), Red(sky) + 50) << ColorText(sky);

    // The sun: the white core of the flare, up and to the left.
    const std::vector<SPoint> core = Pixels(image, [](std::uint32_t p, int, int) { return Brightness(p) >= 245; });
    ASSERT_GT(core.size(), 50u);
    const SPoint sun = Centroid(core);
    EXPECT_LT(sun.x, kWidth / 2 - 60);
    EXPECT_LT(sun.y, kHeight / 2 - 60);

    // k: where a pixel lies on the line from the sun (0) to the centre (1).
    const SPoint centre{kWidth / 2.0, kHeight / 2.0};
    const double dx = centre.x - sun.x;
    const double dy = centre.y - sun.y;
    const double length = std::hypot(dx, dy);
    auto along = [&](const SPoint& p) { return ((p.x - sun.x) * dx + (p.y - sun.y) * dy) / (length * length); };
    auto offLine = [&](const SPoint& p) { return std::fabs((p.x - sun.x) * dy - (p.y - sun.y) * dx) / length; };
    auto flareBetween = [&](double from, double to) {
        return Pixels(image, [&](std::uint32_t p, int x, int y) {
            const double k = along(SPoint{static_cast<double>(x), static_cast<double>(y)});
            return IsFlare(p, sky) && k > from && k < to;
        });
    };

    // Spots on the way to the centre and beyond it, each centred on the line.
    const std::vector<SPoint> inner = flareBetween(0.3, 0.95);
    const std::vector<SPoint> beyond = flareBetween(1.2, 3.0);
    ASSERT_GT(inner.size(), 300u);
    ASSERT_GT(beyond.size(), 1000u);
    EXPECT_LT(offLine(Centroid(inner)), 15.0);
    EXPECT_LT(offLine(Centroid(beyond)), 15.0);
    // Far from the line there is only sky.
    const std::vector<SPoint> aside = Pixels(image, [&](std::uint32_t p, int x, int y) {
        return IsFlare(p, sky) && offLine(SPoint{static_cast<double>(x), static_cast<double>(y)}) > 160.0;
    });
    EXPECT_EQ(aside.size(), 0u);
}

TEST_F(LensFlareExample, ThePassingBoxHidesTheWholeFlare) {
    const lvxtest::SImage image = Shoot(26);
    ASSERT_EQ(image.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    const std::uint32_t sky = MostCommonColor(image);
    const std::vector<SPoint> flare = Pixels(image, [&](std::uint32_t p, int, int) { return IsFlare(p, sky); });
    EXPECT_EQ(flare.size(), 0u);
    // The box is there, dark against the sky, up and to the left where the sun is.
    const std::vector<SPoint> box = Pixels(image, [&](std::uint32_t p, int, int) { return Sum(p) < Sum(sky) - 200; });
    ASSERT_GT(box.size(), 2000u);
    const SPoint boxCentre = Centroid(box);
    EXPECT_LT(boxCentre.x, kWidth / 2.0);
    EXPECT_LT(boxCentre.y, kHeight / 2.0);
}
