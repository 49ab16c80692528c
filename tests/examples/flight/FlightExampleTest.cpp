// The flight example, run off screen: after 25 frames (1 s) and 100 frames
// (4 s) the camera looks down on the grassy hills, with the sky above them,
// and between the two it has flown on and turned, so the pictures differ. The pictures
// stay in screenshots/ beside the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/CExampleTest.h"

namespace {

// The lit grass: green clearly above red and blue.
bool IsGrass(std::uint32_t argb) {
    return Green(argb) > Red(argb) + 20 && Green(argb) > Blue(argb) + 20;
}

// The share of the pixels in rows [top, bottom) that pass `keep`.
template <class TKeep>
double Share(const lvxtest::SImage& image, int top, int bottom, TKeep keep) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width; ++x) {
            count += keep(image.At(x, y)) ? 1 : 0;
        }
    }
    return static_cast<double>(count) / static_cast<double>((bottom - top) * image.width);
}

// Pixels whose colour differs by more than a little: another view.
double ChangedShare(const lvxtest::SImage& a, const lvxtest::SImage& b) {
    int changed = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const int difference = std::abs(Red(a.pixels[i]) - Red(b.pixels[i])) +
                               std::abs(Green(a.pixels[i]) - Green(b.pixels[i])) +
                               std::abs(Blue(a.pixels[i]) - Blue(b.pixels[i]));
        changed += difference > 30 ? 1 : 0;
    }
    return static_cast<double>(changed) / static_cast<double>(a.pixels.size());
}

// Per column, the row where the hills meet the sky.
std::vector<int> Skyline(const lvxtest::SImage& image) {
    std::vector<int> rows;
    for (int x = 0; x < image.width; ++x) {
        int y = 0;
        while (y < image.height && !IsGrass(image.At(x, y))) {
            ++y;
        }
        rows.push_back(y);
    }
    return rows;
}

double MeanDistance(const std::vector<int>& a, const std::vector<int>& b) {
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        sum += std::abs(a[i] - b[i]);
    }
    return sum / static_cast<double>(a.size());
}

class FlightExample : public CExampleTest {
protected:
    FlightExample() : CExampleTest(LVX_EXAMPLE_FLIGHT, "flight") {}
};

}  // namespace

TEST_F(FlightExample, TheCameraFliesOverTheHillsAndTheViewChanges) {
    const lvxtest::SImage early = Shoot(25);
    const lvxtest::SImage later = Shoot(100);
    ASSERT_EQ(early.pixels.size(), static_cast<size_t>(kWidth * kHeight));
    ASSERT_EQ(later.pixels.size(), early.pixels.size());
    for (const lvxtest::SImage* image : {&early, &later}) {
        // Grass below, sky (not grass) along the top: the camera is above
        // the hills, looking down on them.
        EXPECT_GT(Share(*image, kHeight / 2, kHeight, IsGrass), 0.95);
        EXPECT_LT(Share(*image, 0, kHeight / 10, IsGrass), 0.5);
    }
    // Another place, another view: the hills' outline against the sky has
    // moved and much of the picture has changed (the same view would give
    // the same pixels, off screen).
    EXPECT_GT(MeanDistance(Skyline(early), Skyline(later)), 5.0);
    EXPECT_GT(ChangedShare(early, later), 0.2);
}
