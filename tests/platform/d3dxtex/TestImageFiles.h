#pragma once
// Small image files made on the fly for the texture tests: encoders from
// stb_image_write and the tests' own BMP encoder, hand-built files where the
// layout itself is under test (top-down BMP, top-left TGA, DDS), and damaged
// variants.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/CPixelImage.h"

using Bytes = std::vector<BYTE>;

// A width x height image whose texel (x, y) is `argbAt(x, y)`.
template <typename Fn>
CPixelImage MakeImage(UINT width, UINT height, Fn argbAt) {
    CPixelImage image(width, height);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            image.Set(x, y, argbAt(x, y));
        }
    }
    return image;
}

// A 4 x 3 picture with a different colour in every texel, opaque.
CPixelImage DistinctOpaqueImage();

// Through stb_image_write; `components` 1 (grey from red), 3 (RGB) or 4 (RGBA).
Bytes EncodePng(const CPixelImage& image, int components);
Bytes EncodeTga(const CPixelImage& image, int components);  // origin bottom-left, RLE
Bytes EncodeJpeg(const CPixelImage& image);
// 24-bit BMP, rows bottom-up, byte for byte what stb_image_write writes
// (support/BmpFile.h).
Bytes EncodeBmp(const CPixelImage& image);
// Hand-built: 24-bit BMP with a negative height (rows top-down, through
// support/BmpFile.h as well), 24-bit TGA with its origin top-left (descriptor
// bit 5), binary PPM.
Bytes EncodeTopDownBmp(const CPixelImage& image);
Bytes EncodeTopLeftTga(const CPixelImage& image);
Bytes EncodePpm(const CPixelImage& image);

// Pixel format of a DDS file.
struct DdsPixelFormat {
    DWORD flags = 0;
    DWORD fourCc = 0;
    DWORD bitCount = 0;
    DWORD red = 0, green = 0, blue = 0, alpha = 0;
};
DdsPixelFormat DdsArgb32();
DdsPixelFormat DdsRgb24();
DdsPixelFormat DdsRgb565();
DdsPixelFormat DdsFourCc(char a, char b, char c, char d);

// A DDS file: header, then `payload` (the surfaces, face-major).
Bytes BuildDds(UINT width, UINT height, UINT mipCount, bool cubeMap, const DdsPixelFormat& format,
               const Bytes& payload);

// Reads a file written by an external tool; empty when it is missing.
Bytes ReadWholeFile(const std::string& path);
// True when ImageMagick's `convert` can be run.
bool HaveImageMagick();
void WriteWholeFile(const std::string& path, const Bytes& bytes);
