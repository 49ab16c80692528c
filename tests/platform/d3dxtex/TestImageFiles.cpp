#include "TestImageFiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <stb_image_write.h>

#include "support/BmpFile.h"

namespace {

void Append(void* context, void* data, int size) {
    auto* bytes = static_cast<Bytes*>(context);
    const auto* begin = static_cast<const BYTE*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
}

// Red, green, blue(, alpha) bytes in picture order, as stb_image_write takes them.
std::vector<BYTE> ToRgba(const CPixelImage& image, int components) {
    std::vector<BYTE> rgba;
    for (UINT y = 0; y < image.Height(); ++y) {
        for (UINT x = 0; x < image.Width(); ++x) {
            const DWORD argb = image.At(x, y);
            rgba.push_back(static_cast<BYTE>(RedOf(argb)));
            if (components >= 3) {
                rgba.push_back(static_cast<BYTE>(GreenOf(argb)));
                rgba.push_back(static_cast<BYTE>(BlueOf(argb)));
            }
            if (components == 4) {
                rgba.push_back(static_cast<BYTE>(AlphaOf(argb)));
            }
        }
    }
    return rgba;
}

// The picture's texels as 0xRRGGBB, as the BMP encoder takes them.
BmpColourAt RgbOf(const CPixelImage& image) {
    return [&image](int x, int y) { return image.At(static_cast<UINT>(x), static_cast<UINT>(y)) & 0xFFFFFFu; };
}

void PutLe(Bytes& bytes, DWORD value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
}

}  // namespace

CPixelImage DistinctOpaqueImage() {
    return MakeImage(4, 3, [](UINT x, UINT y) { return MakeArgb(255, 40 + 60 * x, 30 + 90 * y, 200 - 40 * x); });
}

Bytes EncodePng(const CPixelImage& image, int components) {
    Bytes out;
    const std::vector<BYTE> pixels = ToRgba(image, components);
    stbi_write_png_to_func(Append, &out, static_cast<int>(image.Width()), static_cast<int>(image.Height()), components,
                           pixels.data(), static_cast<int>(image.Width()) * components);
    return out;
}

Bytes EncodeBmp(const CPixelImage& image) {
    return EncodeBmp24(static_cast<int>(image.Width()), static_cast<int>(image.Height()), RgbOf(image));
}

Bytes EncodeTga(const CPixelImage& image, int components) {
    Bytes out;
    const std::vector<BYTE> pixels = ToRgba(image, components);
    stbi_write_tga_to_func(Append, &out, static_cast<int>(image.Width()), static_cast<int>(image.Height()), components,
                           pixels.data());
    return out;
}

Bytes EncodeJpeg(const CPixelImage& image) {
    Bytes out;
    const std::vector<BYTE> pixels = ToRgba(image, 3);
    stbi_write_jpg_to_func(Append, &out, static_cast<int>(image.Width()), static_cast<int>(image.Height()), 3,
                           pixels.data(), 100);
    return out;
}

Bytes EncodeTopDownBmp(const CPixelImage& image) {
    // The size and resolution filled in (72 dpi) as many writers do, unlike EncodeBmp: both headers must read.
    const SBmpLayout layout{.topDown = true, .recordsImageSize = true, .pixelsPerMetre = 2835};
    return EncodeBmp24(static_cast<int>(image.Width()), static_cast<int>(image.Height()), RgbOf(image), layout);
}

Bytes EncodeTopLeftTga(const CPixelImage& image) {
    Bytes out = {0, 0, 2};  // no id, no colour map, uncompressed true colour
    out.resize(12, 0);
    PutLe(out, image.Width(), 2);
    PutLe(out, image.Height(), 2);
    out.push_back(24);
    out.push_back(0x20);  // origin top-left
    for (UINT y = 0; y < image.Height(); ++y) {
        for (UINT x = 0; x < image.Width(); ++x) {
            const DWORD argb = image.At(x, y);
            out.push_back(static_cast<BYTE>(BlueOf(argb)));
            out.push_back(static_cast<BYTE>(GreenOf(argb)));
            out.push_back(static_cast<BYTE>(RedOf(argb)));
        }
    }
    return out;
}

Bytes EncodePpm(const CPixelImage& image) {
    const std::string header =
        "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
    Bytes out(header.begin(), header.end());
    const std::vector<BYTE> pixels = ToRgba(image, 3);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

DdsPixelFormat DdsArgb32() {
    return {0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
}

DdsPixelFormat DdsRgb24() {
    return {0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0};
}

DdsPixelFormat DdsRgb565() {
    return {0x40, 0, 16, 0xF800, 0x7E0, 0x1F, 0};
}

DdsPixelFormat DdsFourCc(char a, char b, char c, char d) {
    DdsPixelFormat format;
    format.flags = 0x4;
    format.fourCc = static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |
                    (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(d)) << 24);
    return format;
}

Bytes BuildDds(UINT width, UINT height, UINT mipCount, bool cubeMap, const DdsPixelFormat& format,
               const Bytes& payload) {
    Bytes out = {'D', 'D', 'S', ' '};
    PutLe(out, 124, 4);
    PutLe(out, 0x1007 | (mipCount > 1 ? 0x20000u : 0u), 4);  // caps, height, width, pixel format (, mips)
    PutLe(out, height, 4);
    PutLe(out, width, 4);
    PutLe(out, 0, 4);  // pitch or linear size: not needed to read
    PutLe(out, 0, 4);  // depth
    PutLe(out, mipCount, 4);
    out.resize(out.size() + 11 * 4, 0);
    PutLe(out, 32, 4);
    PutLe(out, format.flags, 4);
    PutLe(out, format.fourCc, 4);
    PutLe(out, format.bitCount, 4);
    PutLe(out, format.red, 4);
    PutLe(out, format.green, 4);
    PutLe(out, format.blue, 4);
    PutLe(out, format.alpha, 4);
    PutLe(out, 0x1000 | (mipCount > 1 ? 0x400008u : 0u) | (cubeMap ? 0x8u : 0u), 4);  // caps
    PutLe(out, cubeMap ? 0xFE00u : 0u, 4);  // caps2: cube map with all six faces
    out.resize(out.size() + 3 * 4, 0);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool HaveImageMagick() {
    return std::system("convert -version > /dev/null 2>&1") == 0;
}
