#include <gtest/gtest.h>

#include "platform/d3dxtex/CTexelConverter.h"

TEST(TexelConverter, WritesTheD3DLayoutOfEachFormat) {
    const DWORD texel = 0x80FF8000;  // half alpha, red, half green, no blue
    BYTE bytes[4] = {};

    CTexelConverter::WriteRow(&texel, 1, D3DFMT_A8R8G8B8, bytes);
    EXPECT_EQ(bytes[0], 0x00);  // B, G, R, A in memory
    EXPECT_EQ(bytes[1], 0x80);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0x80);

    CTexelConverter::WriteRow(&texel, 1, D3DFMT_X8R8G8B8, bytes);
    EXPECT_EQ(bytes[3], 0xFF);  // X reads back opaque

    CTexelConverter::WriteRow(&texel, 1, D3DFMT_R5G6B5, bytes);
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), (31 << 11) | (32 << 5));

    CTexelConverter::WriteRow(&texel, 1, D3DFMT_A1R5G5B5, bytes);
    EXPECT_EQ(bytes[0] | (bytes[1] << 8), 0x8000 | (31 << 10) | (16 << 5));

    CTexelConverter::WriteRow(&texel, 1, D3DFMT_L8, bytes);
    EXPECT_EQ(bytes[0], (2125 * 255 + 7154 * 128 + 5000) / 10000);

    EXPECT_FALSE(CTexelConverter::IsSupported(D3DFMT_DXT1));
    EXPECT_FALSE(CTexelConverter::IsSupported(D3DFMT_P8));
    EXPECT_EQ(CTexelConverter::BytesPerTexel(D3DFMT_R8G8B8), 3u);
}

TEST(TexelConverter, EveryFormatReadsBackWhatItCanHold) {
    const DWORD texels[3] = {0xFFFFFFFF, 0x00000000, 0xFF00FF00};
    const D3DFORMAT formats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R8G8B8,   D3DFMT_R5G6B5,
                                 D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4};
    for (D3DFORMAT format : formats) {
        BYTE bytes[12] = {};
        DWORD back[3] = {};
        CTexelConverter::WriteRow(texels, 3, format, bytes);
        CTexelConverter::ReadRow(bytes, 3, format, back);
        const DWORD alphaMask = CTexelConverter::HasAlpha(format) ? 0 : 0xFF000000u;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(back[i], texels[i] | alphaMask) << "format " << format << " texel " << i;
        }
    }
    BYTE grey[2] = {};
    DWORD back = 0;
    const DWORD white = 0x80FFFFFF;
    CTexelConverter::WriteRow(&white, 1, D3DFMT_A8L8, grey);
    CTexelConverter::ReadRow(grey, 1, D3DFMT_A8L8, &back);
    EXPECT_EQ(back, 0x80FFFFFFu);
}
