#include "PixelProbe.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

int Channel(std::uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

int HeightOf(const std::vector<std::uint32_t>& pixels, int width) {
    return width > 0 ? static_cast<int>(pixels.size()) / width : 0;
}

void Include(SPixelBox& box, int x, int y) {
    box.left = std::min(box.left, x);
    box.top = std::min(box.top, y);
    box.right = std::max(box.right, x);
    box.bottom = std::max(box.bottom, y);
}

}  // namespace

int Red(std::uint32_t argb) {
    return Channel(argb, 16);
}

int Green(std::uint32_t argb) {
    return Channel(argb, 8);
}

int Blue(std::uint32_t argb) {
    return Channel(argb, 0);
}

int Brightness(std::uint32_t argb) {
    return std::min({Red(argb), Green(argb), Blue(argb)});
}

bool ColorNear(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    return std::abs(Red(actual) - Red(expected)) <= tolerance &&
           std::abs(Green(actual) - Green(expected)) <= tolerance &&
           std::abs(Blue(actual) - Blue(expected)) <= tolerance;
}

std::string ColorText(std::uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", argb);
    return text;
}

std::uint32_t PixelAt(const std::vector<std::uint32_t>& pixels, int width, int x, int y) {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

int CountPixels(const std::vector<std::uint32_t>& pixels, std::uint32_t color, int tolerance) {
    return static_cast<int>(
        std::count_if(pixels.begin(), pixels.end(), [&](std::uint32_t p) { return ColorNear(p, color, tolerance); }));
}

SPixelBox Silhouette(const std::vector<std::uint32_t>& pixels, std::uint32_t background, int width, int tolerance) {
    const int height = HeightOf(pixels, width);
    SPixelBox box{width, height, -1, -1};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!ColorNear(PixelAt(pixels, width, x, y), background, tolerance)) {
                Include(box, x, y);
            }
        }
    }
    return box;
}

SPixelBox LitBox(const std::vector<std::uint32_t>& pixels, int width, int threshold, int firstRow, int lastRow) {
    const int height = HeightOf(pixels, width);
    if (lastRow < 0 || lastRow >= height) {
        lastRow = height - 1;
    }
    SPixelBox box{width, height, -1, -1};
    for (int y = std::max(firstRow, 0); y <= lastRow; ++y) {
        for (int x = 0; x < width; ++x) {
            if (Brightness(PixelAt(pixels, width, x, y)) > threshold) {
                Include(box, x, y);
            }
        }
    }
    return box.Empty() ? SPixelBox{} : box;
}

int MaxBrightness(const std::vector<std::uint32_t>& pixels) {
    int best = 0;
    for (std::uint32_t p : pixels) {
        best = std::max(best, Brightness(p));
    }
    return best;
}
