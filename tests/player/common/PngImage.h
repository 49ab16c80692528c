#pragma once
// Reads a PNG file into 0xAARRGGBB pixels for the end-to-end tests, and
// tells the red box from the blue background. Header only; stb_image comes
// with the engine's texture module.

#include <stb_image.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/PixelProbe.h"

namespace lvxtest {

struct SImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

inline bool ReadPng(const std::string& path, SImage& image) {
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
    if (data == nullptr)
        return false;
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<std::uint32_t>(data[i * 4 + 3]) << 24 |
                          static_cast<std::uint32_t>(data[i * 4]) << 16 |
                          static_cast<std::uint32_t>(data[i * 4 + 1]) << 8 | data[i * 4 + 2];
    }
    stbi_image_free(data);
    return true;
}

// Red clearly dominates: the lit faces of the red box.
inline bool IsReddish(std::uint32_t argb) {
    return Red(argb) > 60 && Red(argb) > 2 * Green(argb) && Red(argb) > 2 * Blue(argb);
}
// The blue background.
inline bool IsBlue(std::uint32_t argb) {
    return Blue(argb) > 200 && Red(argb) < 40 && Green(argb) < 40;
}

}  // namespace lvxtest
