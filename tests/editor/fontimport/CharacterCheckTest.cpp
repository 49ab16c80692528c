#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fontimport/CFontBitmaps.h"
#include "fontimport/CFontCharacterCheck.h"

namespace {

using testing::HasSubstr;
using testing::StartsWith;

TEST(FontCharacterCheck, AcceptsEveryCharacterFromBlankToTildeAndAnEmptyField) {
    std::string all;
    for (int code = 32; code <= 126; ++code) {
        all.push_back(static_cast<char>(code));
    }
    EXPECT_EQ(CFontCharacterCheck::Message(all), "");
    EXPECT_EQ(CFontCharacterCheck::Message(""), "");
    EXPECT_EQ(CFontCharacterCheck::Refused(all + "\x1F~\x7F"), U"\x1F\x7F");
}

TEST(FontCharacterCheck, NamesEachRefusedCharacterOnceInTheOrderTheyOccur) {
    // "é", a tab, "€", "é" again and a character beyond the first plane.
    const std::string field =
        "A\xC3\xA9\t\xE2\x82\xAC"
        "B\xC3\xA9\xF0\x9F\x98\x80";
    EXPECT_EQ(CFontCharacterCheck::Refused(field), U"\u00E9\t\u20AC\U0001F600");
    EXPECT_EQ(CFontCharacterCheck::Message(field),
              "The characters \"\xC3\xA9\", U+0009, \"\xE2\x82\xAC\" and \"\xF0\x9F\x98\x80\" cannot be imported: a "
              "bitmap font holds only the characters from 32 (blank) to 126 (\"~\").");
    EXPECT_THAT(CFontCharacterCheck::Message("ok\x7F"),
                StartsWith("The character U+007F cannot be imported: a bitmap font holds only"));
}

TEST(FontCharacterCheck, InvisibleCharactersAreNamedByTheirCode) {
    EXPECT_EQ(CFontCharacterCheck::Describe(U'\n'), "U+000A");
    EXPECT_EQ(CFontCharacterCheck::Describe(0xA0), "U+00A0");        // no-break space
    EXPECT_EQ(CFontCharacterCheck::Describe(0x200B), "U+200B");      // zero-width space
    EXPECT_EQ(CFontCharacterCheck::Describe(0xA1), "\"\xC2\xA1\"");  // inverted "!"
}

TEST(FontCharacterCheck, BytesThatAreNotUtf8CountAsLatin1Characters) {
    // A Latin-1 "é" on its own, an overlong "/", a sequence cut off at the
    // end and an encoded surrogate: each byte is one character, and the
    // ASCII bytes inside them are not swallowed.
    EXPECT_EQ(CFontCharacterCheck::Refused("\xE9"), U"\u00E9");
    EXPECT_EQ(CFontCharacterCheck::Refused("\xC0\xAF"), U"\u00C0\u00AF");
    EXPECT_EQ(CFontCharacterCheck::Refused("x\xE2\x82"), U"\u00E2\u0082");
    EXPECT_EQ(CFontCharacterCheck::Refused("\xED\xA0\x80"), U"\u00ED\u00A0\u0080");
    EXPECT_EQ(CFontCharacterCheck::Refused("\xC3"
                                           "A"),
              U"\u00C3");
    EXPECT_THAT(CFontCharacterCheck::Message("\xE9"), HasSubstr("\"\xC3\xA9\""));
}

TEST(FontTexture, WithoutAMaskTheTextureIsOpaqueAndSaysItHasNoAlpha) {
    CFontBitmaps bitmaps;
    std::vector<std::uint8_t> rgba;
    EXPECT_FALSE(bitmaps.ComposeTexture(rgba));
    ASSERT_EQ(rgba.size(), 256u * 256u * 4u);
    EXPECT_EQ(rgba[3], 255);
    EXPECT_EQ(rgba.back(), 255);

    CFontImportSettings settings;
    settings.faceName = "Liberation Sans";
    settings.characters = "A";
    settings.textColor = {1, 2, 3};
    ASSERT_TRUE(bitmaps.Build(settings).ok);
    EXPECT_TRUE(bitmaps.ComposeTexture(rgba));
    EXPECT_EQ(rgba.back(), 0);  // the bottom-right corner holds no glyph
    EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2]}), (std::vector<int>{1, 2, 3}));
}

}  // namespace
