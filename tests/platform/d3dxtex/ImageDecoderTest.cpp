#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "TestImageFiles.h"
#include "platform/d3dxtex/CImageDecoder.h"
#include "platform/d3dxtex/CJpegMarkerCheck.h"

namespace {

void ExpectSameTexels(const CPixelImage& actual, const CPixelImage& expected, int tolerance = 0) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (UINT y = 0; y < expected.Height(); ++y) {
        for (UINT x = 0; x < expected.Width(); ++x) {
            for (int shift = 0; shift < 32; shift += 8) {
                const int a = static_cast<int>((actual.At(x, y) >> shift) & 0xFF);
                const int e = static_cast<int>((expected.At(x, y) >> shift) & 0xFF);
                EXPECT_LE(std::abs(a - e), tolerance) << "texel " << x << "," << y << " byte " << shift / 8;
            }
        }
    }
}

CDecodedImage DecodeOrFail(const Bytes& file, HRESULT expected = S_OK) {
    CDecodedImage image;
    EXPECT_EQ(CImageDecoder().Decode(file.data(), file.size(), image), expected);
    return image;
}

}  // namespace

TEST(ImageDecoder, LosslessFormatsGiveTheExactTexelsTopRowFirst) {
    const CPixelImage picture = DistinctOpaqueImage();
    struct Case {
        const char* name;
        Bytes file;
        D3DXIMAGE_FILEFORMAT format;
    };
    const Case cases[] = {
        {"png", EncodePng(picture, 3), D3DXIFF_PNG},
        {"bmp bottom-up", EncodeBmp(picture), D3DXIFF_BMP},
        {"bmp top-down", EncodeTopDownBmp(picture), D3DXIFF_BMP},
        {"tga bottom-left", EncodeTga(picture, 3), D3DXIFF_TGA},
        {"tga top-left", EncodeTopLeftTga(picture), D3DXIFF_TGA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CDecodedImage image = DecodeOrFail(c.file);
        ASSERT_EQ(image.surfaces.size(), 1u);
        EXPECT_EQ(image.fileFormat, c.format);
        EXPECT_EQ(image.width, 4u);
        EXPECT_EQ(image.height, 3u);
        EXPECT_EQ(image.levelCount, 1u);
        EXPECT_FALSE(image.hasAlpha);
        ExpectSameTexels(image.surfaces[0][0], picture);
    }
}

TEST(ImageDecoder, AlphaIsKeptWhereTheFileHasIt) {
    const CPixelImage picture =
        MakeImage(3, 2, [](UINT x, UINT y) { return MakeArgb(x * 100 + y * 20, 255, 10 * x, 5 * y); });
    const CDecodedImage png = DecodeOrFail(EncodePng(picture, 4));
    EXPECT_TRUE(png.hasAlpha);
    EXPECT_EQ(png.storedFormat, D3DFMT_A8R8G8B8);
    ExpectSameTexels(png.surfaces[0][0], picture);

    const CDecodedImage tga = DecodeOrFail(EncodeTga(picture, 4));
    EXPECT_TRUE(tga.hasAlpha);
    ExpectSameTexels(tga.surfaces[0][0], picture);

    // Grey PNG: one channel, opaque, reported as L8.
    const CDecodedImage grey = DecodeOrFail(EncodePng(picture, 1));
    EXPECT_FALSE(grey.hasAlpha);
    EXPECT_EQ(grey.storedFormat, D3DFMT_L8);
    EXPECT_EQ(grey.surfaces[0][0].At(0, 0), 0xFFFFFFFFu);
}

TEST(ImageDecoder, JpegAndGifDecode) {
    // Flat 8 x 8 blocks survive JPEG's quantisation almost unchanged.
    const CPixelImage picture =
        MakeImage(16, 8, [](UINT x, UINT) { return x < 8 ? MakeArgb(255, 200, 40, 40) : MakeArgb(255, 30, 60, 220); });
    const CDecodedImage jpeg = DecodeOrFail(EncodeJpeg(picture));
    EXPECT_EQ(jpeg.fileFormat, D3DXIFF_JPG);
    EXPECT_FALSE(jpeg.hasAlpha);
    ExpectSameTexels(jpeg.surfaces[0][0], picture, 12);

    if (!HaveImageMagick()) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    WriteWholeFile("decoder_source.png", EncodePng(picture, 3));
    ASSERT_EQ(std::system("convert decoder_source.png decoder_target.gif"), 0);
    const CDecodedImage gif = DecodeOrFail(ReadWholeFile("decoder_target.gif"));
    EXPECT_EQ(gif.fileFormat, D3DXIFF_GIF);
    ExpectSameTexels(gif.surfaces[0][0], picture, 4);
}

TEST(ImageDecoder, DamagedFilesAreRefused) {
    const Bytes png = EncodePng(DistinctOpaqueImage(), 3);
    CDecodedImage image;
    const CImageDecoder decoder;

    EXPECT_EQ(decoder.Decode(png.data(), 0, image), D3DXERR_INVALIDDATA);
    EXPECT_EQ(decoder.Decode(nullptr, 10, image), D3DXERR_INVALIDDATA);
    EXPECT_EQ(decoder.Decode(png.data(), png.size() / 2, image), D3DXERR_INVALIDDATA);  // truncated
    EXPECT_TRUE(image.surfaces.empty());

    Bytes wrongHeader = png;
    wrongHeader[1] = 'X';
    EXPECT_EQ(decoder.Decode(wrongHeader.data(), wrongHeader.size(), image), D3DXERR_INVALIDDATA);

    // A Huffman table claiming more than 256 codes: stb_image would write
    // past its tables before failing, so the file must not reach it.
    Bytes jpeg = EncodeJpeg(DistinctOpaqueImage());
    EXPECT_TRUE(CJpegMarkerCheck::HuffmanTablesAreSound(jpeg.data(), jpeg.size()));
    const Bytes dhtMarker = {0xFF, 0xC4};
    const auto dht = std::search(jpeg.begin(), jpeg.end(), dhtMarker.begin(), dhtMarker.end());
    ASSERT_NE(dht, jpeg.end());
    std::fill(dht + 5, dht + 21, BYTE{17});  // 16 counts of 17 = 272 codes
    EXPECT_FALSE(CJpegMarkerCheck::HuffmanTablesAreSound(jpeg.data(), jpeg.size()));
    EXPECT_EQ(decoder.Decode(jpeg.data(), jpeg.size(), image), D3DXERR_INVALIDDATA);

    // PPM and PSD are not read (stb_image's readers are unsafe).
    const Bytes ppm = EncodePpm(DistinctOpaqueImage());
    EXPECT_EQ(decoder.Decode(ppm.data(), ppm.size(), image), D3DXERR_INVALIDDATA);
    Bytes psd = {'8', 'B', 'P', 'S', 0, 1};
    psd.resize(64, 0);
    psd[13] = 3;            // channels
    psd[17] = psd[21] = 2;  // 2 x 2
    psd[23] = 8;            // bits
    psd[25] = 3;            // RGB
    EXPECT_EQ(decoder.Decode(psd.data(), psd.size(), image), D3DXERR_INVALIDDATA);

    const std::string text = "this is not a picture at all";
    EXPECT_EQ(decoder.Decode(text.data(), text.size(), image), D3DXERR_INVALIDDATA);

    // stb_image alone would fill the missing rows of these with black.
    Bytes truncatedBmp = EncodeBmp(DistinctOpaqueImage());
    truncatedBmp.resize(truncatedBmp.size() - 1);
    EXPECT_EQ(decoder.Decode(truncatedBmp.data(), truncatedBmp.size(), image), D3DXERR_INVALIDDATA);
    Bytes truncatedTga = EncodeTopLeftTga(DistinctOpaqueImage());
    truncatedTga.resize(truncatedTga.size() - 1);
    EXPECT_EQ(decoder.Decode(truncatedTga.data(), truncatedTga.size(), image), D3DXERR_INVALIDDATA);
}

TEST(ImageDecoder, HugeDeclaredSizesAreRefusedBeforeDecoding) {
    const CImageDecoder decoder;
    CDecodedImage image;

    // PNG whose header claims 20000 x 2 (stb_image reads no checksums), and
    // one of 100000 x 100000, which stb_image itself calls too large.
    Bytes png = EncodePng(DistinctOpaqueImage(), 3);
    const BYTE longRow[8] = {0x00, 0x00, 0x4E, 0x20, 0x00, 0x00, 0x00, 0x02};
    std::copy(longRow, longRow + 8, png.begin() + 16);
    EXPECT_EQ(decoder.Decode(png.data(), png.size(), image), E_OUTOFMEMORY);
    const BYTE huge[8] = {0x00, 0x01, 0x86, 0xA0, 0x00, 0x01, 0x86, 0xA0};
    std::copy(huge, huge + 8, png.begin() + 16);
    EXPECT_TRUE(FAILED(decoder.Decode(png.data(), png.size(), image)));

    // TGA of 65535 x 65535: the texel count overflows 32 bits.
    Bytes tga = EncodeTopLeftTga(DistinctOpaqueImage());
    tga[12] = tga[13] = tga[14] = tga[15] = 0xFF;
    EXPECT_EQ(decoder.Decode(tga.data(), tga.size(), image), E_OUTOFMEMORY);

    // The device's own limit.
    const Bytes wide = EncodePng(MakeImage(65, 1, [](UINT, UINT) { return 0xFF000000u; }), 3);
    EXPECT_EQ(CImageDecoder(64).Decode(wide.data(), wide.size(), image), E_OUTOFMEMORY);
    EXPECT_EQ(CImageDecoder(65).Decode(wide.data(), wide.size(), image), S_OK);

    // ReadInfo tells the size without decoding.
    CDecodedImage info;
    ASSERT_EQ(decoder.ReadInfo(wide.data(), wide.size(), info), S_OK);
    EXPECT_EQ(info.width, 65u);
    EXPECT_TRUE(info.surfaces.empty());
}
