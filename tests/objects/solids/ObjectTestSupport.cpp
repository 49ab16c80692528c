#include "ObjectTestSupport.h"

std::vector<unsigned char> MakeBmp(int width, int height, unsigned int rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const int imageBytes = rowBytes * height;
    std::vector<unsigned char> file(54 + static_cast<size_t>(imageBytes), 0);
    auto put32 = [&file](size_t at, unsigned int value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<unsigned int>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<unsigned int>(width));
    put32(22, static_cast<unsigned int>(height));
    file[26] = 1;   // planes
    file[28] = 24;  // bits per pixel
    put32(34, static_cast<unsigned int>(imageBytes));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* texel = &file[54 + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 3];
            texel[0] = static_cast<unsigned char>(rgb & 0xFF);
            texel[1] = static_cast<unsigned char>((rgb >> 8) & 0xFF);
            texel[2] = static_cast<unsigned char>((rgb >> 16) & 0xFF);
        }
    }
    return file;
}
