#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/d3dxtex/CDxtDecoder.h"

namespace {

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kBlue = 0xFF0000FF;

// A colour block: endpoints c0, c1 (5:6:5) and 16 two-bit indices.
void PutColourBlock(BYTE* block, WORD c0, WORD c1, const int (&indices)[16]) {
    block[0] = static_cast<BYTE>(c0);
    block[1] = static_cast<BYTE>(c0 >> 8);
    block[2] = static_cast<BYTE>(c1);
    block[3] = static_cast<BYTE>(c1 >> 8);
    DWORD bits = 0;
    for (int i = 0; i < 16; ++i) {
        bits |= static_cast<DWORD>(indices[i]) << (2 * i);
    }
    for (int i = 0; i < 4; ++i) {
        block[4 + i] = static_cast<BYTE>(bits >> (8 * i));
    }
}

constexpr int kIndexRamp[16] = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};

void ExpectNear(DWORD actual, DWORD expected) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_LE(std::abs(a - e), 1) << std::hex << "actual " << actual << " expected " << expected;
    }
}

}  // namespace

TEST(DxtDecoder, Dxt1FourColourAndThreeColourModes) {
    BYTE block[8];
    DWORD texels[16];

    // c0 > c1: two interpolated colours at thirds.
    PutColourBlock(block, 0xF800, 0x001F, kIndexRamp);
    CDxtDecoder::DecodeBlock(CDxtDecoder::Kind::Dxt1, block, texels);
    EXPECT_EQ(texels[0], kRed);
    EXPECT_EQ(texels[1], kBlue);
    ExpectNear(texels[2], 0xFFAA0055);
    ExpectNear(texels[3], 0xFF5500AA);
    EXPECT_EQ(texels[12], kRed);  // last row, first texel

    // c0 <= c1: the midpoint and transparent black.
    PutColourBlock(block, 0x001F, 0xF800, kIndexRamp);
    CDxtDecoder::DecodeBlock(CDxtDecoder::Kind::Dxt1, block, texels);
    EXPECT_EQ(texels[0], kBlue);
    EXPECT_EQ(texels[1], kRed);
    ExpectNear(texels[2], 0xFF800080);
    EXPECT_EQ(texels[3], 0u);
}

TEST(DxtDecoder, Dxt3ExplicitAlphaAndAlwaysFourColours) {
    BYTE block[16] = {};
    for (int i = 0; i < 16; ++i) {
        block[i / 2] |= static_cast<BYTE>(i << (4 * (i % 2)));  // alpha nibble = texel index
    }
    PutColourBlock(block + 8, 0x001F, 0xF800, kIndexRamp);  // c0 < c1 still gives four colours
    DWORD texels[16];
    CDxtDecoder::DecodeBlock(CDxtDecoder::Kind::Dxt3, block, texels);
    EXPECT_EQ(texels[0], 0x000000FFu);
    EXPECT_EQ(texels[1] >> 24, 17u);
    EXPECT_EQ(texels[15] >> 24, 255u);
    EXPECT_NE(texels[3] & 0xFFFFFF, 0u);  // not the transparent-black entry
}

TEST(DxtDecoder, Dxt5InterpolatedAlphaInBothModes) {
    BYTE block[16] = {};
    // Indices 0..7 for texels 0..7, then 0s.
    UINT64 bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits |= static_cast<UINT64>(i) << (3 * i);
    }
    for (int i = 0; i < 6; ++i) {
        block[2 + i] = static_cast<BYTE>(bits >> (8 * i));
    }
    PutColourBlock(block + 8, 0xFFFF, 0xFFFF, kIndexRamp);
    DWORD texels[16];

    block[0] = 255;  // a0 > a1: six steps of 255/7
    block[1] = 0;
    CDxtDecoder::DecodeBlock(CDxtDecoder::Kind::Dxt5, block, texels);
    const DWORD eightStep[8] = {255, 0, 219, 182, 146, 109, 73, 36};
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(static_cast<int>(texels[i] >> 24), static_cast<int>(eightStep[i]), 1) << i;
    }
    EXPECT_EQ(texels[8] & 0xFFFFFF, 0xFFFFFFu);

    block[0] = 0;  // a0 <= a1: four steps, then 0 and 255
    block[1] = 200;
    CDxtDecoder::DecodeBlock(CDxtDecoder::Kind::Dxt5, block, texels);
    const DWORD sixStep[8] = {0, 200, 40, 80, 120, 160, 0, 255};
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(static_cast<int>(texels[i] >> 24), static_cast<int>(sixStep[i]), 1) << i;
    }
}

TEST(DxtDecoder, SurfaceKeepsOnlyTexelsInsideItsEdges) {
    // 5 x 2 texels: two blocks wide, one high; left block red, right block blue.
    EXPECT_EQ(CDxtDecoder::SurfaceBytes(CDxtDecoder::Kind::Dxt1, 5, 2), 16u);
    EXPECT_EQ(CDxtDecoder::SurfaceBytes(CDxtDecoder::Kind::Dxt5, 1, 1), 16u);
    EXPECT_EQ(CDxtDecoder::SurfaceBytes(CDxtDecoder::Kind::Dxt3, 8, 9), 2u * 3u * 16u);
    BYTE data[16];
    constexpr int zeros[16] = {};
    PutColourBlock(data, 0xF800, 0x001F, zeros);
    PutColourBlock(data + 8, 0x001F, 0xF800, zeros);
    const CPixelImage image = CDxtDecoder::DecodeSurface(CDxtDecoder::Kind::Dxt1, data, 5, 2);
    ASSERT_EQ(image.Width(), 5u);
    ASSERT_EQ(image.Height(), 2u);
    EXPECT_EQ(image.At(3, 1), kRed);
    EXPECT_EQ(image.At(4, 0), kBlue);
    EXPECT_EQ(image.At(4, 1), kBlue);
}
