#pragma once
// Checks on read-back pixels (0xAARRGGBB, top row first): channels and
// brightness, colours compared per channel with a tolerance (alpha is not
// compared), counts of the pixels of one colour and the bounding boxes of
// shapes.
//
//   const std::vector<std::uint32_t> pixels = runner.Pixels();
//   EXPECT_COLOR_NEAR(PixelAt(pixels, 64, 32, 32), 0xFF808080u, 3);
//   const SPixelBox box = Silhouette(pixels, 0xFF000000u, 64);

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct SPixelBox {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    bool Empty() const { return right < left; }
};

int Red(std::uint32_t argb);
int Green(std::uint32_t argb);
int Blue(std::uint32_t argb);
// The dimmest of the three channels: white text on black is lit where all
// of them are.
int Brightness(std::uint32_t argb);

bool ColorNear(std::uint32_t actual, std::uint32_t expected, int tolerance = 3);
std::string ColorText(std::uint32_t argb);

// The pixel at (x, y) of an image `width` pixels wide.
std::uint32_t PixelAt(const std::vector<std::uint32_t>& pixels, int width, int x, int y);
int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t color, int tolerance = 3);
// Bounding box of the pixels that are not `background`; empty (left = width,
// top = height) when there are none.
SPixelBox Silhouette(const std::vector<std::uint32_t>& pixels, std::uint32_t background, int width = 64,
                     int tolerance = 3);
// Bounding box of the pixels brighter than `threshold` within rows firstRow
// to lastRow (-1: the last row); SPixelBox{} when there are none.
SPixelBox LitBox(const std::vector<std::uint32_t>& pixels, int width, int threshold = 40, int firstRow = 0,
                 int lastRow = -1);
int MaxBrightness(const std::vector<std::uint32_t>& pixels);

#define EXPECT_COLOR_NEAR(actual, expected, tolerance) \
    EXPECT_TRUE(ColorNear((actual), (expected), (tolerance))) << ColorText(actual) << " vs " << ColorText(expected)
