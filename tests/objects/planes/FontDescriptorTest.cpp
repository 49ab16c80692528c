// Reading ".bnf" font descriptors: the line pattern, damaged and overlong
// lines, the two readers (scene file and disk), the font and texture names
// SetTexture derives, and where the default font is found.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PlaneTestSupport.h"
#include "objects/CBmpFonts.h"

namespace {

using SGlyph = CBmpFonts::SGlyph;

bool Parse(const std::string& line, unsigned char& character, SGlyph& glyph) {
    return CBmpFonts::ParseDescriptorLine(line.data(), line.size(), character, glyph);
}

void ExpectGlyph(const SGlyph& glyph, float left, float top, float right, float bottom) {
    EXPECT_FLOAT_EQ(glyph.left, left);
    EXPECT_FLOAT_EQ(glyph.top, top);
    EXPECT_FLOAT_EQ(glyph.right, right);
    EXPECT_FLOAT_EQ(glyph.bottom, bottom);
}

void ExpectDefault(const SGlyph& glyph) {
    ExpectGlyph(glyph, 0.9375f, 0.9922f, 0.9922f, 0.9961f);
}

std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

class FontFiles : public testing::Test {
protected:
    void SetUp() override {
        folder = CTempFolder::EnterPrivateWorkingFolder() / "fonts";
        std::filesystem::create_directories(folder);
    }
    std::string Write(const std::string& name, const std::string& text) {
        const auto path = folder / name;
        planetest::WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
        return path.string();
    }
    std::filesystem::path folder;
};

}  // namespace

TEST(FontDescriptor, LinesReadWithOrWithoutBlanksAroundTheCommas) {
    unsigned char c = 0;
    SGlyph glyph{};
    ASSERT_TRUE(Parse("A 0.000000,0.000000 0.062500,0.125000", c, glyph));
    EXPECT_EQ(c, 'A');
    ExpectGlyph(glyph, 0.0f, 0.0f, 0.0625f, 0.125f);
    ASSERT_TRUE(Parse("  A 0.000000 , 0.000000   0.062500 ,0.125000\r", c, glyph));
    EXPECT_EQ(c, 'A');
    ExpectGlyph(glyph, 0.0f, 0.0f, 0.0625f, 0.125f);
    ASSERT_TRUE(Parse("\xe9+.5,1e-1 -0.25,2", c, glyph));
    EXPECT_EQ(c, 0xE9);
    ExpectGlyph(glyph, 0.5f, 0.1f, -0.25f, 2.0f);
    // Leading blanks are skipped, so a blank cannot name itself: the line of
    // the space character is read as a line for the digit after the blanks.
    ASSERT_TRUE(Parse("  0.5,0.25 0.75,1.0", c, glyph));
    EXPECT_EQ(c, '0');
    ExpectGlyph(glyph, 0.5f, 0.25f, 0.75f, 1.0f);
}

TEST(FontDescriptor, IncompleteOrNonNumericLinesAreSkipped) {
    unsigned char c = 0;
    SGlyph glyph{};
    for (const std::string line :
         {"", "   ", "A", "A 0.1,0.2 0.3", "A 0.1 0.2 0.3,0.4", "A 0.1,0.2 0.3;0.4", "A x,0.2 0.3,0.4",
          "A 0.1,0.2 0.3,", "A nan,0.2 0.3,0.4", "A 0.1,inf 0.3,0.4", "A 1e999,0 1,1"}) {
        EXPECT_FALSE(Parse(line, c, glyph)) << line;
    }
    // Only the first 255 characters of a line count.
    const std::string padded = "B" + std::string(245, ' ') + "0.1,0.2 0.3,0.4";
    ASSERT_GT(padded.size(), 255u);
    EXPECT_FALSE(Parse(padded, c, glyph));
    EXPECT_TRUE(Parse(padded.substr(0, 241) + "1,2 3,4", c, glyph));
}

TEST(FontDescriptor, SceneFileCopyLosesALastLineWithoutLineFeedAndDiskDoesNot) {
    const std::string text = "A 0,0 0.0625,0.125\nB 0.1,0.2 0.3,0.4\nA 0.5,0.5 0.75,0.625\nC 0.2,0.2 0.4,0.4";
    CBmpFonts fromScene;
    const std::vector<BYTE> bytes = Bytes(text);
    fromScene.ReadDescriptor(bytes.data(), bytes.size());
    // A later line for the same character wins.
    ExpectGlyph(fromScene.GetGlyph('A'), 0.5f, 0.5f, 0.75f, 0.625f);
    ExpectGlyph(fromScene.GetGlyph('B'), 0.1f, 0.2f, 0.3f, 0.4f);
    ExpectDefault(fromScene.GetGlyph('C'));
    ExpectDefault(fromScene.GetGlyph('Z'));
    ExpectDefault(fromScene.GetGlyph(0));
    ExpectDefault(fromScene.GetGlyph(255));

    const auto path = CTempFolder::EnterPrivateWorkingFolder() / "unterminated.bnf";
    planetest::WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
    CBmpFonts fromDisk;
    ASSERT_TRUE(fromDisk.ReadDescriptorFile(path.string()));
    ExpectGlyph(fromDisk.GetGlyph('C'), 0.2f, 0.2f, 0.4f, 0.4f);
    ExpectGlyph(fromDisk.GetGlyph('A'), 0.5f, 0.5f, 0.75f, 0.625f);

    // A new descriptor starts from the default cells again.
    const std::vector<BYTE> other = Bytes("Z 0,0 1,1\n");
    fromDisk.ReadDescriptor(other.data(), other.size());
    ExpectDefault(fromDisk.GetGlyph('A'));
    ExpectGlyph(fromDisk.GetGlyph('Z'), 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_FALSE(fromDisk.ReadDescriptorFile((CTempFolder::EnterPrivateWorkingFolder() / "none.bnf").string()));
    ExpectGlyph(fromDisk.GetGlyph('Z'), 0.0f, 0.0f, 1.0f, 1.0f);
}

TEST(FontDescriptor, OverlongLinesOnDiskAreCutNotSplit) {
    // The tail of a 300-character line would read as a line of its own if
    // the line were split; it must not.
    const std::string text = "A 0.1,0.1 0.2,0.2" + std::string(283, ' ') + "Q 0.5,0.5 0.6,0.6\nB 0.3,0.3 0.4,0.4\n";
    const auto path = CTempFolder::EnterPrivateWorkingFolder() / "long.bnf";
    planetest::WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
    CBmpFonts font;
    ASSERT_TRUE(font.ReadDescriptorFile(path.string()));
    ExpectGlyph(font.GetGlyph('A'), 0.1f, 0.1f, 0.2f, 0.2f);
    ExpectDefault(font.GetGlyph('Q'));
    ExpectGlyph(font.GetGlyph('B'), 0.3f, 0.3f, 0.4f, 0.4f);
    // The scene-file reader cuts the same way.
    CBmpFonts fromScene;
    const std::vector<BYTE> bytes = Bytes(text);
    fromScene.ReadDescriptor(bytes.data(), bytes.size());
    ExpectDefault(fromScene.GetGlyph('Q'));
    ExpectGlyph(fromScene.GetGlyph('B'), 0.3f, 0.3f, 0.4f, 0.4f);
}

TEST_F(FontFiles, TextureNameSelectsDescriptorAndTextureBesideIt) {
    Write("comic.bnf", "W 0.25,0.5 0.5,0.75\n");
    CBmpFonts font;
    const std::string png = (folder / "comic.png").string();
    font.SetTexture(png, 0);
    EXPECT_EQ(font.GetTexture(0), png);
    ExpectGlyph(font.GetGlyph('W'), 0.25f, 0.5f, 0.5f, 0.75f);

    // Naming the descriptor works the same.
    Write("other.bnf", "W 0,0 1,1\n");
    font.SetTexture((folder / "other.bnf").string(), 0);
    EXPECT_EQ(font.GetTexture(0), (folder / "other.png").string());

    // A font whose descriptor is missing changes nothing; other slots are ignored.
    font.SetTexture((folder / "missing.png").string(), 0);
    font.SetTexture(png, 1);
    EXPECT_EQ(font.GetTexture(0), (folder / "other.png").string());
    ExpectGlyph(font.GetGlyph('W'), 0.0f, 0.0f, 1.0f, 1.0f);
}

TEST_F(FontFiles, DefaultFontIsTheFirstFolderHoldingIt) {
    const auto empty = folder / "empty";
    const auto media = folder / "install";
    std::filesystem::create_directories(empty);
    std::filesystem::create_directories(media / "media" / "fonts");
    planetest::WriteBytes(media / "media" / "fonts" / "arial.bnf", {'A', ' ', '0', ',', '0', ' ', '1', ',', '1'});
    EXPECT_EQ(CBmpFonts::FindDefaultFont({empty.string(), media.string()}), media.string() + "/media/fonts/arial.bnf");
    // None has it: the program folder's path, which then fails to load.
    EXPECT_EQ(CBmpFonts::FindDefaultFont({empty.string()}), empty.string() + "/media/fonts/arial.bnf");

    // The program folder comes first; this test program lives in the
    // build's bin folder beside the generated media.
    const std::vector<CString> folders = CBmpFonts::DefaultFontFolders();
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), std::filesystem::canonical("/proc/self/exe").parent_path().string());
    EXPECT_TRUE(std::filesystem::exists(std::string(CBmpFonts::FindDefaultFont(folders))));
}
