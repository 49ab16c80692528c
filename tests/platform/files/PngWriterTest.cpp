// PNG encoding: what goes in comes back from an independent decoder pixel
// for pixel, stored as 8-bit RGBA, and pixels that do not fit the size are
// refused with the text hosts show. Screenshots reach their file the way
// every output does.

#include <gtest/gtest.h>

#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/CPngFile.h"
#include "platform/files/CPngWriter.h"
#include "support/CTempFolder.h"

namespace {

struct SDecoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    std::uint32_t format = 0;
    std::vector<std::uint8_t> rgba;
};

SDecoded Decode(const std::vector<std::uint8_t>& bytes) {
    SDecoded decoded;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        return decoded;
    }
    decoded.format = image.format;
    decoded.width = static_cast<int>(image.width);
    decoded.height = static_cast<int>(image.height);
    image.format = PNG_FORMAT_RGBA;
    decoded.rgba.resize(PNG_IMAGE_SIZE(image));
    decoded.ok = png_image_finish_read(&image, nullptr, decoded.rgba.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return decoded;
}

TEST(PngWriter, PixelsComeBackUnchangedTopRowFirst) {
    // 3 x 2, every channel different, alpha from transparent to opaque.
    const std::vector<std::uint8_t> rgba = {
        255, 0, 0, 255, 0,  255, 0,  128, 0,  0,  255, 0,  //
        1,   2, 3, 4,   10, 20,  30, 40,  99, 98, 97,  255,
    };
    CPngWriter writer;
    ASSERT_TRUE(writer.Encode(3, 2, rgba)) << writer.GetError();
    const std::vector<std::uint8_t>& bytes = writer.GetBytes();
    ASSERT_GT(bytes.size(), 33u);
    // The header chunk right after the signature: 8 bits per channel, colour type 6 (RGBA).
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 6);

    const SDecoded decoded = Decode(bytes);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 3);
    EXPECT_EQ(decoded.height, 2);
    EXPECT_EQ(decoded.format, static_cast<std::uint32_t>(PNG_FORMAT_RGBA));
    EXPECT_EQ(decoded.rgba, rgba);
}

TEST(PngWriter, PixelsThatDoNotFitTheSizeAreRefused) {
    CPngWriter writer;
    ASSERT_TRUE(writer.Encode(1, 1, {1, 2, 3, 4}));
    const char* expected = "The PNG image cannot be encoded: the pixels do not match its size.";

    EXPECT_FALSE(writer.Encode(2, 2, std::vector<std::uint8_t>(15)));
    EXPECT_EQ(writer.GetError(), expected);
    EXPECT_TRUE(writer.GetBytes().empty());

    EXPECT_FALSE(writer.Encode(0, 4, {}));
    EXPECT_EQ(writer.GetError(), expected);
    EXPECT_FALSE(writer.Encode(2, -1, std::vector<std::uint8_t>(8)));
    EXPECT_EQ(writer.GetError(), expected);

    ASSERT_TRUE(writer.Encode(1, 1, {1, 2, 3, 4}));
    EXPECT_EQ(writer.GetError(), "");
}

TEST(PngFile, AScreenshotKeepsTheLinkItIsWrittenThroughAndReportsAFullDevice) {
    CTempFolder folder;
    const std::vector<std::uint32_t> frame = {0xFF102030u, 0xFF405060u};
    std::filesystem::create_symlink("frame.png", folder.Path("latest.png"));
    std::string error;
    ASSERT_TRUE(CPngFile::Write(folder.Path("latest.png"), 2, 1, frame, error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("latest.png")));
    const SDecoded decoded = Decode(CTempFolder::Read(folder.Path("frame.png")));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 2);

    if (::access("/dev/full", W_OK) == 0) {
        std::filesystem::create_symlink("/dev/full", folder.Path("full.png"));
        EXPECT_FALSE(CPngFile::Write(folder.Path("full.png"), 2, 1, frame, error));
        EXPECT_EQ(error, "Cannot write \"" + folder.Path("full.png") + "\": No space left on device.");
        EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("full.png")));
    }
}

}  // namespace
