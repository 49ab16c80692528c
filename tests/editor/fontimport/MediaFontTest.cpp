#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FontImportTestSupport.h"

namespace {

const std::string kFontDir = LVX_MEDIA_FONT_DIR;

// The cell text objects use for characters their descriptor does not list
// (the blank among them): it must stay transparent.
constexpr float kDefaultCell[4] = {0.9375f, 0.9922f, 0.9922f, 0.9961f};

TEST(MediaFont, DefaultFontIsGeneratedAndReadsBackAsTextObjectsReadIt) {
    const std::string descriptor = ReadText(kFontDir + "/arial.bnf");
    const std::vector<std::string> lines = SplitLines(descriptor);
    ASSERT_EQ(lines.size(), 95u) << kFontDir;
    EXPECT_EQ(descriptor.back(), '\n');
    for (int code = 32; code <= 126; ++code) {
        const std::string& line = lines[code - 32];
        char character = 0;
        float left = -1, top = -1, right = -1, bottom = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), " %c %f , %f %f , %f", &character, &left, &top, &right, &bottom), 5)
            << line;
        EXPECT_EQ(static_cast<unsigned char>(line[0]), code);
        EXPECT_TRUE(0 <= left && left < right && right <= 1) << line;
        EXPECT_TRUE(0 <= top && top < bottom && bottom < kDefaultCell[1]) << line;
    }

    const SDecodedPng png = ReadPng(kFontDir + "/arial.png");
    ASSERT_TRUE(png.ok);
    EXPECT_TRUE(png.storedAsRgba);
    ASSERT_EQ(png.width, png.height);
    int opaque = 0;
    for (int y = 0; y < png.height; ++y) {
        for (int x = 0; x < png.width; ++x) {
            const std::uint8_t* p = &png.rgba[(static_cast<std::size_t>(y) * png.width + x) * 4];
            ASSERT_EQ(p[0] & p[1] & p[2], 255) << "white everywhere, so the object's colour tints it";
            opaque += p[3] == 255;
            const float u = (x + 0.5f) / png.width;
            const float v = (y + 0.5f) / png.height;
            if (u >= kDefaultCell[0] && u <= kDefaultCell[2] && v >= kDefaultCell[1] && v <= kDefaultCell[3]) {
                ASSERT_EQ(p[3], 0) << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, 1000);
}

}  // namespace
