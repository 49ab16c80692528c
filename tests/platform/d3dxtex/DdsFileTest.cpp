#include <gtest/gtest.h>

#include "TestImageFiles.h"
#include "platform/d3d8/d3d8types.h"
#include "platform/d3dxtex/CDdsFile.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

namespace {

void PutArgb(Bytes& out, DWORD argb) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<BYTE>(argb >> (8 * i)));
    }
}

// A DXT1 block of one solid 5:6:5 colour.
void PutSolidDxt1(Bytes& out, WORD colour) {
    out.insert(out.end(), {static_cast<BYTE>(colour), static_cast<BYTE>(colour >> 8), static_cast<BYTE>(colour),
                           static_cast<BYTE>(colour >> 8), 0, 0, 0, 0});
}

// Six solid faces of `edge` x `edge` with `levels` levels; face f has colour kFaceColours[f].
constexpr WORD kFaceColours[6] = {0xF800, 0x07E0, 0x001F, 0xFFE0, 0xF81F, 0x07FF};
constexpr DWORD kFaceArgb[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};

Bytes CubeDxt1(UINT edge, UINT levels) {
    Bytes payload;
    for (int face = 0; face < 6; ++face) {
        for (UINT level = 0; level < levels; ++level) {
            const UINT e = std::max(1u, edge >> level);
            const UINT blocks = std::max(1u, (e + 3) / 4) * std::max(1u, (e + 3) / 4);
            for (UINT b = 0; b < blocks; ++b) {
                PutSolidDxt1(payload, kFaceColours[face]);
            }
        }
    }
    return BuildDds(edge, edge, levels, true, DdsFourCc('D', 'X', 'T', '1'), payload);
}

}  // namespace

TEST(DdsFile, UncompressedLevelsDecodeInOrder) {
    // 4 x 2 A8R8G8B8 with 3 levels (4x2, 2x1, 1x1): texel value = level * 0x100 + index.
    Bytes payload;
    const UINT sizes[3][2] = {{4, 2}, {2, 1}, {1, 1}};
    for (UINT level = 0; level < 3; ++level) {
        for (UINT i = 0; i < sizes[level][0] * sizes[level][1]; ++i) {
            PutArgb(payload, 0x80000000u | (level << 8) | i);
        }
    }
    const Bytes file = BuildDds(4, 2, 3, false, DdsArgb32(), payload);
    CDdsFile dds;
    ASSERT_EQ(dds.Parse(file.data(), file.size(), 16384), S_OK);
    EXPECT_EQ(dds.Width(), 4u);
    EXPECT_EQ(dds.Height(), 2u);
    EXPECT_EQ(dds.LevelCount(), 3u);
    EXPECT_FALSE(dds.IsCubeMap());
    EXPECT_TRUE(dds.HasAlpha());
    EXPECT_EQ(dds.StoredFormat(), D3DFMT_A8R8G8B8);

    const CPixelImage level0 = dds.DecodeSurface(0, 0);
    EXPECT_EQ(level0.At(0, 0), 0x80000000u);
    EXPECT_EQ(level0.At(1, 1), 0x80000005u);  // rows from the top
    const CPixelImage level1 = dds.DecodeSurface(0, 1);
    ASSERT_EQ(level1.Width(), 2u);
    EXPECT_EQ(level1.At(1, 0), 0x80000101u);
    EXPECT_EQ(dds.DecodeSurface(0, 2).At(0, 0), 0x80000200u);
}

TEST(DdsFile, MaskedFormatsScaleEveryChannelToEightBits) {
    // 24-bit: opaque, bytes B, G, R.
    const Bytes rgb = BuildDds(1, 1, 1, false, DdsRgb24(), {0x10, 0x20, 0x30});
    CDdsFile dds;
    ASSERT_EQ(dds.Parse(rgb.data(), rgb.size(), 16384), S_OK);
    EXPECT_EQ(dds.StoredFormat(), D3DFMT_R8G8B8);
    EXPECT_FALSE(dds.HasAlpha());
    EXPECT_EQ(dds.DecodeSurface(0, 0).At(0, 0), 0xFF302010u);

    // 5:6:5: full channels stay full, half green is 0x82 (32/63).
    const Bytes rgb565 = BuildDds(2, 1, 1, false, DdsRgb565(), {0x00, 0xF8, 0x00, 0x04});
    ASSERT_EQ(dds.Parse(rgb565.data(), rgb565.size(), 16384), S_OK);
    EXPECT_EQ(dds.StoredFormat(), D3DFMT_R5G6B5);
    EXPECT_EQ(dds.DecodeSurface(0, 0).At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(dds.DecodeSurface(0, 0).At(1, 0), 0xFF008200u);

    // Luminance + alpha (A8L8).
    const Bytes la = BuildDds(1, 1, 1, false, {0x20001, 0, 16, 0xFF, 0, 0, 0xFF00}, {0x40, 0x80});
    ASSERT_EQ(dds.Parse(la.data(), la.size(), 16384), S_OK);
    EXPECT_EQ(dds.StoredFormat(), D3DFMT_A8L8);
    EXPECT_EQ(dds.DecodeSurface(0, 0).At(0, 0), 0x80404040u);
}

TEST(DdsFile, CubeMapFacesInFileOrder) {
    const Bytes file = CubeDxt1(8, 4);
    CDdsFile dds;
    ASSERT_EQ(dds.Parse(file.data(), file.size(), 16384), S_OK);
    EXPECT_TRUE(dds.IsCubeMap());
    EXPECT_EQ(dds.FaceCount(), 6u);
    EXPECT_EQ(dds.LevelCount(), 4u);
    EXPECT_EQ(dds.StoredFormat(), D3DFMT_DXT1);
    for (UINT face = 0; face < 6; ++face) {
        EXPECT_EQ(dds.DecodeSurface(face, 0).At(7, 7), kFaceArgb[face]) << face;
        const CPixelImage smallest = dds.DecodeSurface(face, 3);
        EXPECT_EQ(smallest.Width(), 1u);
        EXPECT_EQ(smallest.At(0, 0), kFaceArgb[face]) << face;
    }
}

TEST(DdsFile, RefusesDamagedAndUnsupportedFiles) {
    CDdsFile dds;
    const Bytes good = CubeDxt1(4, 1);
    ASSERT_EQ(dds.Parse(good.data(), good.size(), 16384), S_OK);

    // One byte short of the last face.
    EXPECT_EQ(dds.Parse(good.data(), good.size() - 1, 16384), D3DXERR_INVALIDDATA);
    // Header only.
    EXPECT_EQ(dds.Parse(good.data(), 100, 16384), D3DXERR_INVALIDDATA);

    // A cube map without its -Z face.
    Bytes fiveFaces = good;
    fiveFaces[112 + 1] &= static_cast<BYTE>(~0x80);
    EXPECT_EQ(dds.Parse(fiveFaces.data(), fiveFaces.size(), 16384), D3DXERR_INVALIDDATA);

    // More mip levels than a 4 x 4 chain has.
    Bytes tooManyLevels = BuildDds(4, 4, 4, false, DdsFourCc('D', 'X', 'T', '1'), Bytes(64, 0));
    EXPECT_EQ(dds.Parse(tooManyLevels.data(), tooManyLevels.size(), 16384), D3DXERR_INVALIDDATA);

    // DX10 extension header and premultiplied DXT2 are not read.
    const Bytes dx10 = BuildDds(4, 4, 1, false, DdsFourCc('D', 'X', '1', '0'), Bytes(64, 0));
    EXPECT_EQ(dds.Parse(dx10.data(), dx10.size(), 16384), D3DXERR_INVALIDDATA);
    const Bytes dxt2 = BuildDds(4, 4, 1, false, DdsFourCc('D', 'X', 'T', '2'), Bytes(16, 0));
    EXPECT_EQ(dds.Parse(dxt2.data(), dxt2.size(), 16384), D3DXERR_INVALIDDATA);

    // Masks wider than the texel; zero width.
    const Bytes wideMask = BuildDds(1, 1, 1, false, {0x40, 0, 16, 0xFF0000, 0xFF00, 0xFF, 0}, Bytes(2, 0));
    EXPECT_EQ(dds.Parse(wideMask.data(), wideMask.size(), 16384), D3DXERR_INVALIDDATA);
    const Bytes zeroWidth = BuildDds(0, 4, 1, false, DdsArgb32(), Bytes(64, 0));
    EXPECT_EQ(dds.Parse(zeroWidth.data(), zeroWidth.size(), 16384), D3DXERR_INVALIDDATA);

    // Huge declared sizes are refused before the data is looked at.
    const Bytes huge = BuildDds(1u << 20, 1u << 20, 1, false, DdsArgb32(), {});
    EXPECT_EQ(dds.Parse(huge.data(), huge.size(), 16384), E_OUTOFMEMORY);
    const Bytes aboveDevice = BuildDds(64, 1, 1, false, DdsArgb32(), Bytes(256, 0));
    EXPECT_EQ(dds.Parse(aboveDevice.data(), aboveDevice.size(), 32), E_OUTOFMEMORY);
}
