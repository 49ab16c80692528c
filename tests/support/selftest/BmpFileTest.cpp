// The BMP encoder on tiny pictures: the header fields a reader relies on, the
// row order and the padding. Texture tests that load its files would only
// see wrong pixels, not why.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/BmpFile.h"

namespace {

std::uint32_t Le(const std::vector<BYTE>& bytes, std::size_t at, int size = 4) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

// Red grows to the right, green downwards.
std::uint32_t Gradient(int x, int y) {
    return (static_cast<std::uint32_t>(0x10 * (x + 1)) << 16) | (static_cast<std::uint32_t>(0x10 * (y + 1)) << 8);
}

}  // namespace

TEST(BmpFile, HeadersDescribeAnUncompressed24BitPicture) {
    const std::vector<BYTE> file = EncodeBmp24(3, 2, Gradient);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le(file, 2), file.size());
    EXPECT_EQ(Le(file, 10), 54u);  // pixel data right after the headers
    EXPECT_EQ(Le(file, 14), 40u);
    EXPECT_EQ(Le(file, 18), 3u);
    EXPECT_EQ(Le(file, 22), 2u);
    EXPECT_EQ(Le(file, 26, 2), 1u);
    EXPECT_EQ(Le(file, 28, 2), 24u);
    EXPECT_EQ(Le(file, 30), 0u);  // uncompressed
    EXPECT_EQ(Le(file, 34), 0u);
    EXPECT_EQ(Le(file, 38), 0u);
}

TEST(BmpFile, RowsGoBottomUpAsBlueGreenRedPaddedToFourBytes) {
    const std::vector<BYTE> file = EncodeBmp24(3, 2, Gradient);
    const std::vector<BYTE> bottomRow = {0x00, 0x20, 0x10, 0x00, 0x20, 0x20, 0x00, 0x20, 0x30, 0, 0, 0};
    const std::vector<BYTE> topRow = {0x00, 0x10, 0x10, 0x00, 0x10, 0x20, 0x00, 0x10, 0x30, 0, 0, 0};
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 54, file.begin() + 66), bottomRow);
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 66, file.end()), topRow);
}

TEST(BmpFile, TopDownLayoutStoresANegativeHeightAndTheTopRowFirst) {
    const SBmpLayout layout{.topDown = true, .recordsImageSize = true, .pixelsPerMetre = 2835, .padding = 0x80};
    const std::vector<BYTE> file = EncodeBmp24(3, 2, Gradient, layout);
    EXPECT_EQ(static_cast<std::int32_t>(Le(file, 22)), -2);
    EXPECT_EQ(Le(file, 34), 24u);
    EXPECT_EQ(Le(file, 38), 2835u);
    EXPECT_EQ(Le(file, 42), 2835u);
    const std::vector<BYTE> topRow = {0x00, 0x10, 0x10, 0x00, 0x10, 0x20, 0x00, 0x10, 0x30, 0x80, 0x80, 0x80};
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 54, file.begin() + 66), topRow);
}

TEST(BmpFile, BitsAboveTheColourAreIgnoredAndWholeWordRowsAreNotPadded) {
    const std::vector<BYTE> file = EncodeBmp24(4, 1, [](int, int) { return 0xFF123456u; });
    ASSERT_EQ(file.size(), 54u + 12);
    for (std::size_t texel = 54; texel < file.size(); texel += 3) {
        EXPECT_EQ(file[texel], 0x56);
        EXPECT_EQ(file[texel + 1], 0x34);
        EXPECT_EQ(file[texel + 2], 0x12);
    }
}
