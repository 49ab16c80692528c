#include "platform/d3dxtex/CDxtDecoder.h"

#include <algorithm>

namespace {

WORD ReadWord(const BYTE* p) {
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD ReadDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

struct Rgb {
    DWORD r, g, b;
};

// 5:6:5 to 8 bits per channel, replicating the top bits into the bottom so
// that full intensity stays 255.
Rgb Expand565(WORD c) {
    const DWORD r = (c >> 11) & 0x1F;
    const DWORD g = (c >> 5) & 0x3F;
    const DWORD b = c & 0x1F;
    return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

// (weightA * a + weightB * b) / (weightA + weightB), rounded.
DWORD Blend(DWORD a, DWORD b, DWORD weightA, DWORD weightB) {
    const DWORD total = weightA + weightB;
    return (weightA * a + weightB * b + total / 2) / total;
}

Rgb BlendRgb(const Rgb& a, const Rgb& b, DWORD weightA, DWORD weightB) {
    return {Blend(a.r, b.r, weightA, weightB), Blend(a.g, b.g, weightA, weightB), Blend(a.b, b.b, weightA, weightB)};
}

}  // namespace

std::size_t CDxtDecoder::SurfaceBytes(Kind kind, UINT width, UINT height) {
    const std::size_t blocksWide = std::max<std::size_t>(1, (static_cast<std::size_t>(width) + 3) / 4);
    const std::size_t blocksHigh = std::max<std::size_t>(1, (static_cast<std::size_t>(height) + 3) / 4);
    return blocksWide * blocksHigh * BlockBytes(kind);
}

void CDxtDecoder::DecodeBlock(Kind kind, const BYTE* block, DWORD texels[16]) {
    switch (kind) {
    case Kind::Dxt1:
        DecodeColours(block, true, texels);
        break;
    case Kind::Dxt3:
        DecodeColours(block + 8, false, texels);
        DecodeExplicitAlpha(block, texels);
        break;
    case Kind::Dxt5:
        DecodeColours(block + 8, false, texels);
        DecodeInterpolatedAlpha(block, texels);
        break;
    }
}

void CDxtDecoder::DecodeColours(const BYTE* block, bool allowTransparent, DWORD texels[16]) {
    const WORD c0 = ReadWord(block);
    const WORD c1 = ReadWord(block + 2);
    const Rgb e0 = Expand565(c0);
    const Rgb e1 = Expand565(c1);

    DWORD palette[4];
    palette[0] = MakeArgb(255, e0.r, e0.g, e0.b);
    palette[1] = MakeArgb(255, e1.r, e1.g, e1.b);
    if (c0 > c1 || !allowTransparent) {
        const Rgb c2 = BlendRgb(e0, e1, 2, 1);
        const Rgb c3 = BlendRgb(e0, e1, 1, 2);
        palette[2] = MakeArgb(255, c2.r, c2.g, c2.b);
        palette[3] = MakeArgb(255, c3.r, c3.g, c3.b);
    } else {
        const Rgb c2 = BlendRgb(e0, e1, 1, 1);
        palette[2] = MakeArgb(255, c2.r, c2.g, c2.b);
        palette[3] = 0;  // transparent black
    }

    const DWORD indices = ReadDword(block + 4);
    for (int i = 0; i < 16; ++i) {
        texels[i] = palette[(indices >> (2 * i)) & 0x3];
    }
}

void CDxtDecoder::DecodeExplicitAlpha(const BYTE* block, DWORD texels[16]) {
    for (int i = 0; i < 16; ++i) {
        const DWORD nibble = (block[i / 2] >> (4 * (i % 2))) & 0xF;
        texels[i] = (texels[i] & 0x00FFFFFFu) | ((nibble * 17) << 24);
    }
}

void CDxtDecoder::DecodeInterpolatedAlpha(const BYTE* block, DWORD texels[16]) {
    const DWORD a0 = block[0];
    const DWORD a1 = block[1];
    DWORD alphas[8] = {a0, a1, 0, 0, 0, 0, 0, 0};
    if (a0 > a1) {
        for (DWORD i = 1; i <= 6; ++i) {
            alphas[i + 1] = Blend(a0, a1, 7 - i, i);
        }
    } else {
        for (DWORD i = 1; i <= 4; ++i) {
            alphas[i + 1] = Blend(a0, a1, 5 - i, i);
        }
        alphas[6] = 0;
        alphas[7] = 255;
    }

    // 16 three-bit indices packed into the next six bytes, first texel lowest.
    UINT64 bits = 0;
    for (int i = 0; i < 6; ++i) {
        bits |= static_cast<UINT64>(block[2 + i]) << (8 * i);
    }
    for (int i = 0; i < 16; ++i) {
        const DWORD alpha = alphas[(bits >> (3 * i)) & 0x7];
        texels[i] = (texels[i] & 0x00FFFFFFu) | (alpha << 24);
    }
}

CPixelImage CDxtDecoder::DecodeSurface(Kind kind, const BYTE* data, UINT width, UINT height) {
    CPixelImage image(width, height);
    const UINT blocksWide = std::max(1u, (width + 3) / 4);
    const UINT blocksHigh = std::max(1u, (height + 3) / 4);
    const BYTE* block = data;
    DWORD texels[16];
    for (UINT by = 0; by < blocksHigh; ++by) {
        for (UINT bx = 0; bx < blocksWide; ++bx, block += BlockBytes(kind)) {
            DecodeBlock(kind, block, texels);
            for (UINT row = 0; row < 4 && by * 4 + row < height; ++row) {
                for (UINT col = 0; col < 4 && bx * 4 + col < width; ++col) {
                    image.Set(bx * 4 + col, by * 4 + row, texels[row * 4 + col]);
                }
            }
        }
    }
    return image;
}
