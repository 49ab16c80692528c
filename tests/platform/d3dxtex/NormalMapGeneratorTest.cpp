#include <gtest/gtest.h>

#include <cmath>

#include "TestImageFiles.h"
#include "platform/d3dxtex/CNormalMapGenerator.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

namespace {

int Packed(float component) {
    return static_cast<int>(std::lround((component * 0.5f + 0.5f) * 255.0f));
}

void ExpectNormal(DWORD argb, float nx, float ny, float nz) {
    EXPECT_NEAR(static_cast<int>(RedOf(argb)), Packed(nx), 1);
    EXPECT_NEAR(static_cast<int>(GreenOf(argb)), Packed(ny), 1);
    EXPECT_NEAR(static_cast<int>(BlueOf(argb)), Packed(nz), 1);
    EXPECT_EQ(AlphaOf(argb), 255u);
}

}  // namespace

TEST(NormalMapGenerator, RampTiltsNormalsAgainstTheSlope) {
    // Red rises by 16 per texel to the right; green and blue are noise that must be ignored.
    const CPixelImage ramp = MakeImage(8, 4, [](UINT x, UINT y) { return MakeArgb(255, 16 * x, 77 * y, 200 - x); });
    const float amplitude = 2.0f;
    const CPixelImage normals = CNormalMapGenerator(D3DX_CHANNEL_RED, 0, amplitude).Generate(ramp);
    ASSERT_EQ(normals.Width(), 8u);
    ASSERT_EQ(normals.Height(), 4u);

    // Inside: slope 16/255 per texel, so n = normalize(-2 * 16/255, 0, 1).
    const float dx = -amplitude * 16.0f / 255.0f;
    const float length = std::sqrt(dx * dx + 1.0f);
    for (UINT x = 1; x < 7; ++x) {
        ExpectNormal(normals.At(x, 2), dx / length, 0.0f, 1.0f / length);
    }

    // Left edge wraps: neighbours are x = 7 (112) and x = 1 (16): slope (16 - 112) / 2.
    const float wrapped = -amplitude * ((16.0f - 112.0f) / 2.0f) / 255.0f;
    const float wrappedLength = std::sqrt(wrapped * wrapped + 1.0f);
    ExpectNormal(normals.At(0, 1), wrapped / wrappedLength, 0.0f, 1.0f / wrappedLength);

    // Mirrored edges repeat the edge texel: slope (16 - 0) / 2.
    const CPixelImage mirrored = CNormalMapGenerator(D3DX_CHANNEL_RED, D3DX_NORMALMAP_MIRROR, amplitude).Generate(ramp);
    const float half = -amplitude * 8.0f / 255.0f;
    ExpectNormal(mirrored.At(0, 1), half / std::sqrt(half * half + 1.0f), 0.0f, 1.0f / std::sqrt(half * half + 1.0f));

    // INVERTSIGN turns the tilt the other way.
    const CPixelImage inverted =
        CNormalMapGenerator(D3DX_CHANNEL_RED, D3DX_NORMALMAP_INVERTSIGN, amplitude).Generate(ramp);
    ExpectNormal(inverted.At(3, 0), -dx / length, 0.0f, 1.0f / length);
}

TEST(NormalMapGenerator, VerticalSlopeGoesToGreenAndChannelsAreSelectable) {
    // Alpha rises downwards (towards larger v).
    const CPixelImage ramp = MakeImage(2, 8, [](UINT, UINT y) { return MakeArgb(20 * y, 0, 0, 0); });
    const CPixelImage normals = CNormalMapGenerator(D3DX_CHANNEL_ALPHA, 0, 1.0f).Generate(ramp);
    const float dy = -20.0f / 255.0f;
    const float length = std::sqrt(dy * dy + 1.0f);
    ExpectNormal(normals.At(1, 4), 0.0f, dy / length, 1.0f / length);

    // Reading red instead sees a flat field.
    const CPixelImage flat = CNormalMapGenerator(D3DX_CHANNEL_RED, 0, 1.0f).Generate(ramp);
    ExpectNormal(flat.At(1, 4), 0.0f, 0.0f, 1.0f);

    EXPECT_TRUE(CNormalMapGenerator::IsValidChannel(D3DX_CHANNEL_LUMINANCE));
    EXPECT_FALSE(CNormalMapGenerator::IsValidChannel(0));
    EXPECT_FALSE(CNormalMapGenerator::IsValidChannel(0x20));
    EXPECT_TRUE(CNormalMapGenerator::AreValidFlags(D3DX_NORMALMAP_MIRROR_U | D3DX_NORMALMAP_COMPUTE_OCCLUSION));
    EXPECT_FALSE(CNormalMapGenerator::AreValidFlags(0x1));
}

TEST(NormalMapGenerator, OcclusionDarkensPits) {
    // A flat plain with one deep texel in the middle.
    const CPixelImage pit = MakeImage(16, 16, [](UINT x, UINT y) {
        const DWORD h = (x == 8 && y == 8) ? 0 : 200;
        return MakeArgb(255, h, h, h);
    });
    const CPixelImage normals =
        CNormalMapGenerator(D3DX_CHANNEL_LUMINANCE, D3DX_NORMALMAP_COMPUTE_OCCLUSION, 4.0f).Generate(pit);
    EXPECT_EQ(AlphaOf(normals.At(2, 2)), 255u);  // open sky
    EXPECT_LT(AlphaOf(normals.At(8, 8)), 128u);  // walled in
}
