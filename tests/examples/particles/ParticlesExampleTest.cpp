// The particles example, run off screen for 75 frames (3 s): the fountain
// stands on the left, its pale blue drops above its source; the fire on the
// right, bright and warm; between and above them the dark night sky. The
// picture stays in screenshots/ beside the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "common/CExampleTest.h"

namespace {

struct SRegion {
    int left, top, right, bottom;  // right and bottom excluded
};

// Where the emitters' particles fly, from the camera the example sets up
// (the fountain at (-4.5, -6, 0), the fire at (4.5, -6, 0)), with room to
// spare for the random spread.
constexpr SRegion kAboveTheFountain{60, 200, 360, 480};
constexpr SRegion kFire{500, 320, 720, 540};
constexpr SRegion kSky{0, 0, CExampleTest::kWidth, 150};
constexpr SRegion kBetween{390, 0, 470, CExampleTest::kHeight};

// Bright, and warm: red leads, blue lags far behind.
bool IsWarm(std::uint32_t p) {
    return Red(p) >= 200 && Green(p) >= 60 && Red(p) >= Blue(p) + 80;
}

// Pale blue: bright, blue clearly the strongest channel, red and green not
// far behind (the drops' deep blue ends and pure white do not count).
bool IsBluishWhite(std::uint32_t p) {
    return Blue(p) >= 180 && Blue(p) >= Red(p) + 20 && Blue(p) >= Green(p) && Red(p) >= 90;
}

bool IsDark(std::uint32_t p) {
    return Red(p) + Green(p) + Blue(p) <= 60;
}

int Count(const lvxtest::SImage& image, const SRegion& region, const std::function<bool(std::uint32_t)>& keep) {
    int count = 0;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            if (keep(image.At(x, y))) {
                ++count;
            }
        }
    }
    return count;
}

int Area(const SRegion& region) {
    return (region.right - region.left) * (region.bottom - region.top);
}

class ParticlesExample : public CExampleTest {
protected:
    ParticlesExample() : CExampleTest(LVX_EXAMPLE_PARTICLES, "particles") {}
};

}  // namespace

TEST_F(ParticlesExample, AFountainOnTheLeftAndAFireOnTheRightUnderADarkSky) {
    const lvxtest::SImage image = Shoot(75);
    ASSERT_EQ(image.pixels.size(), static_cast<size_t>(kWidth * kHeight));

    const int warm = Count(image, kFire, IsWarm);
    const int drops = Count(image, kAboveTheFountain, IsBluishWhite);
    EXPECT_GT(warm, 2000) << "bright warm pixels where the fire burns";
    EXPECT_GT(drops, 4000) << "bluish-white drops above the fountain's source";

    // Each stays on its side: no flames at the fountain, no drops in the fire.
    const SRegion left{0, 0, kWidth / 2, kHeight};
    const SRegion right{kWidth / 2, 0, kWidth, kHeight};
    EXPECT_EQ(Count(image, left, IsWarm), 0);
    EXPECT_EQ(Count(image, right, IsBluishWhite), 0);

    // The night sky above them and between them.
    EXPECT_EQ(Count(image, kSky, IsDark), Area(kSky));
    EXPECT_EQ(Count(image, kBetween, IsDark), Area(kBetween));
}

TEST_F(ParticlesExample, NothingIsDrawnBeforeTheFirstParticlesAreBorn) {
    // The first frame is at scene time 0: no time has passed, nothing is emitted.
    const lvxtest::SImage image = Shoot(1);
    ASSERT_EQ(image.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    const SRegion all{0, 0, kWidth, kHeight};
    EXPECT_EQ(Count(image, all, IsDark), Area(all));
}
