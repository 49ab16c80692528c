#pragma once
// Pixel checks on read-back images (0xAARRGGBB, top row first).

#include <algorithm>
#include <cstdint>
#include <vector>

namespace coretest {

struct SBox {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
    bool Empty() const { return right < left; }
};

inline int Brightness(std::uint32_t argb) {
    return std::min(
        {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF), static_cast<int>(argb & 0xFF)});
}

// Bounding box of the pixels brighter than `threshold` (every channel) inside
// the given rows.
inline SBox LitBox(const std::vector<std::uint32_t>& pixels, int width, int threshold = 40, int firstRow = 0,
                   int lastRow = -1) {
    const int height = width > 0 ? static_cast<int>(pixels.size()) / width : 0;
    if (lastRow < 0 || lastRow >= height)
        lastRow = height - 1;
    SBox box{width, height, -1, -1};
    for (int y = std::max(firstRow, 0); y <= lastRow; ++y) {
        for (int x = 0; x < width; ++x) {
            if (Brightness(pixels[static_cast<size_t>(y) * width + x]) > threshold) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    if (box.right < 0)
        return SBox{};
    return box;
}

inline int MaxBrightness(const std::vector<std::uint32_t>& pixels) {
    int best = 0;
    for (std::uint32_t p : pixels)
        best = std::max(best, Brightness(p));
    return best;
}

}  // namespace coretest
