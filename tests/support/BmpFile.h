#pragma once
// Uncompressed 24-bit BMP files made on the fly, for the tests that give the
// engine's image decoder a texture to load. Texels come from a function of
// their position, so one colour, bands or a whole picture all go through the
// same header and row code.
//
//   const std::vector<BYTE> red = EncodeBmp24(4, 2, [](int, int) { return 0xFF0000u; });
//   folder.Write("red.bmp", red);

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/WinTypes.h"

// Header and padding choices that differ between the files the tests write.
// None of them changes the texels a reader gets; the defaults are what
// common writers (stb_image_write among them) produce.
struct SBmpLayout {
    bool topDown = false;             // negative height: the top row is stored first
    bool recordsImageSize = false;    // the pixel data's size in the header (0 is allowed when uncompressed)
    std::int32_t pixelsPerMetre = 0;  // both resolutions; 0 means unknown
    BYTE padding = 0;                 // what fills each row up to a multiple of 4 bytes
};

// The colour (0xRRGGBB; higher bits are ignored) of texel (x, y), y = 0 being
// the picture's top row.
using BmpColourAt = std::function<std::uint32_t(int x, int y)>;

// A width x height file, rows bottom-up unless the layout says top-down.
std::vector<BYTE> EncodeBmp24(int width, int height, const BmpColourAt& rgbAt, const SBmpLayout& layout = {});
