#include <gtest/gtest.h>

#include "TestImageFiles.h"
#include "platform/d3dxtex/CImageResampler.h"
#include "platform/d3dxtex/CMipChain.h"
#include "platform/d3dxtex/d3dx8texdefs.h"

TEST(MipChain, LevelCountsAndSizes) {
    EXPECT_EQ(CMipChain::FullLevelCount(1, 1), 1u);
    EXPECT_EQ(CMipChain::FullLevelCount(256, 64), 9u);
    EXPECT_EQ(CMipChain::FullLevelCount(5, 3), 3u);
    EXPECT_EQ(CMipChain::FullLevelCount(16384, 1), 15u);
    EXPECT_EQ(CMipChain::LevelEdge(5, 1), 2u);
    EXPECT_EQ(CMipChain::LevelEdge(5, 3), 1u);
    EXPECT_EQ(CMipChain::LevelEdge(64, 40), 1u);
}

TEST(MipChain, BoxFilterAveragesEachTwoByTwoBlock) {
    // 4 x 2: left block channels 0, 20, 40, 60 average to 30; alpha filtered on its own.
    const DWORD values[2][4] = {{0, 20, 100, 100}, {40, 60, 100, 104}};
    const CPixelImage base = MakeImage(4, 2, [&](UINT x, UINT y) {
        const DWORD v = values[y][x];
        return MakeArgb(x < 2 ? 255 - v : 0, v, v / 2, 255 - v);
    });
    const std::vector<CPixelImage> chain = CMipChain::Build({base}, 3, D3DX_DEFAULT);
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0].At(3, 1), base.At(3, 1));
    ASSERT_EQ(chain[1].Width(), 2u);
    ASSERT_EQ(chain[1].Height(), 1u);
    EXPECT_EQ(chain[1].At(0, 0), MakeArgb(225, 30, 15, 225));
    EXPECT_EQ(RedOf(chain[1].At(1, 0)), 101u);
    EXPECT_EQ(AlphaOf(chain[1].At(1, 0)), 0u);
    ASSERT_EQ(chain[2].Width(), 1u);
    EXPECT_NEAR(static_cast<int>(RedOf(chain[2].At(0, 0))), (30 + 101) / 2, 1);
}

TEST(MipChain, ProvidedLevelsAreKeptAndOddSizesShrink) {
    const CPixelImage base(5, 3, 0xFF808080);
    const CPixelImage ownLevel1(2, 1, 0xFF112233);
    const std::vector<CPixelImage> chain = CMipChain::Build({base, ownLevel1}, 3, D3DX_DEFAULT);
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[1].At(1, 0), 0xFF112233u);
    EXPECT_EQ(chain[2].Width(), 1u);
    EXPECT_EQ(chain[2].At(0, 0), 0xFF112233u);  // made from the provided level

    // A provided level of the wrong size is replaced.
    const std::vector<CPixelImage> rebuilt = CMipChain::Build({base, CPixelImage(3, 3, 0)}, 2, D3DX_DEFAULT);
    EXPECT_EQ(rebuilt[1].Width(), 2u);
    EXPECT_EQ(rebuilt[1].At(0, 0), 0xFF808080u);
}

TEST(ImageResampler, FiltersScaleAsNamed) {
    const CPixelImage checker = MakeImage(2, 2, [](UINT x, UINT y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u; });

    const CPixelImage point = CImageResampler::Resize(checker, 4, 4, D3DX_FILTER_POINT);
    EXPECT_EQ(point.At(0, 0), 0xFF000000u);
    EXPECT_EQ(point.At(1, 1), 0xFF000000u);
    EXPECT_EQ(point.At(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(point.At(3, 3), 0xFF000000u);

    const CPixelImage none = CImageResampler::Resize(checker, 3, 1, D3DX_FILTER_NONE);
    EXPECT_EQ(none.At(0, 0), 0xFF000000u);
    EXPECT_EQ(none.At(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(none.At(2, 0), 0u);  // padding is transparent black

    const CPixelImage box = CImageResampler::Resize(checker, 1, 1, D3DX_FILTER_BOX);
    EXPECT_NEAR(static_cast<int>(RedOf(box.At(0, 0))), 128, 1);
    EXPECT_EQ(AlphaOf(box.At(0, 0)), 255u);

    const CPixelImage tent = CImageResampler::Resize(checker, 8, 8, D3DX_DEFAULT);
    EXPECT_EQ(tent.Width(), 8u);
    EXPECT_LT(RedOf(tent.At(0, 0)), 40u);
    EXPECT_GT(RedOf(tent.At(7, 0)), 215u);

    EXPECT_TRUE(CImageResampler::IsValidFilter(D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER | D3DX_FILTER_MIRROR));
    EXPECT_TRUE(CImageResampler::IsValidFilter(D3DX_DEFAULT));
    EXPECT_FALSE(CImageResampler::IsValidFilter(0));
    EXPECT_FALSE(CImageResampler::IsValidFilter(6));
    EXPECT_FALSE(CImageResampler::IsValidFilter(D3DX_FILTER_BOX | 0x100000));
}
