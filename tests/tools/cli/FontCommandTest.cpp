// "lumivexis font": the bitmap font it writes as text objects read it, and
// the arguments it refuses.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/ChildProcess.h"
#include "objects/CBmpFonts.h"
#include "platform/d3dxtex/CImageDecoder.h"
#include "support/CTempFolder.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

const std::string kTool = std::string(LVX_BIN_DIR) + "/lumivexis";

class FontCommand : public testing::Test {
protected:
    lvxtest::SChildResult Run(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {kTool, "font"});
        return lvxtest::RunChild(
            arguments,
            {{"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"XDG_STATE_HOME", m_state.Root().string()}},
            std::chrono::seconds(60));
    }
    std::string Path(const std::string& name) const { return m_folder.Path(name); }

    // The texture decoded as the engine decodes textures.
    static CDecodedImage Decode(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        CDecodedImage image;
        EXPECT_EQ(CImageDecoder().Decode(bytes.data(), bytes.size(), image), S_OK) << path;
        return image;
    }

    CTempFolder m_folder;
    CTempFolder m_state;
};

// Every line of the command's stderr starts with its name.
bool EveryLineStartsWith(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(prefix, 0) != 0) {
            return false;
        }
    }
    return true;
}

TEST_F(FontCommand, WritesADescriptorAndATextureThatTextObjectsRead) {
    const lvxtest::SChildResult run = Run(
        {"Liberation Sans", "20", Path("demo"), "--texture", "512", "--color", "FF8000", "--chars", "AB|", "--bold"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(m_folder.Entries(), ElementsAre("demo.bnf", "demo.png"));
    EXPECT_THAT(run.err, HasSubstr("drawing with Liberation Sans Bold"));
    EXPECT_THAT(run.err, HasSubstr("wrote " + Path("demo.bnf") + " and " + Path("demo.png")));
    EXPECT_TRUE(EveryLineStartsWith(run.err, "lumivexis font: ")) << run.err;

    CBmpFonts font;
    ASSERT_TRUE(font.ReadDescriptorFile(Path("demo.bnf")));
    const CBmpFonts::SGlyph& a = font.GetGlyph('A');
    const CBmpFonts::SGlyph& b = font.GetGlyph('B');
    const CBmpFonts::SGlyph& bar = font.GetGlyph('|');
    EXPECT_EQ(a.left, 0.0f);
    EXPECT_EQ(a.top, 0.0f);
    EXPECT_GT(a.right, 0.0f);
    EXPECT_NEAR(b.left * 512, a.right * 512 + 1, 1e-3);  // one pixel apart on a 512-pixel texture
    EXPECT_NEAR(bar.left * 512, b.right * 512 + 1, 1e-3);
    EXPECT_EQ(font.GetGlyph('x').left, CBmpFonts::kDefaultGlyph.left);  // not in the font

    const CDecodedImage texture = Decode(Path("demo.png"));
    ASSERT_EQ(texture.width, 512u);
    ASSERT_EQ(texture.height, 512u);
    EXPECT_TRUE(texture.hasAlpha);
    const CPixelImage& pixels = texture.surfaces.at(0).at(0);
    // The text colour everywhere; the glyphs opaque, the rest transparent.
    EXPECT_EQ(pixels.At(511, 511), 0x00FF8000u);
    const auto column = static_cast<UINT>((bar.left + bar.right) / 2 * 512);
    const auto row = static_cast<UINT>((bar.top + bar.bottom) / 2 * 512);
    EXPECT_EQ(pixels.At(column, row), 0xFFFF8000u);
}

TEST_F(FontCommand, DefaultsToEveryCharacterInWhiteOnA256PixelTexture) {
    const lvxtest::SChildResult run = Run({"Arial", "12", Path("plain.BNF")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(m_folder.Entries(), ElementsAre("plain.BNF.bnf", "plain.BNF.png"));
    EXPECT_THAT(run.err, HasSubstr("95 characters, 256 x 256 texture"));

    std::ifstream descriptor(Path("plain.BNF.bnf"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(descriptor, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 95u);
    EXPECT_EQ(lines.front()[0], ' ');
    EXPECT_EQ(lines.back()[0], '~');

    const CDecodedImage texture = Decode(Path("plain.BNF.png"));
    ASSERT_EQ(texture.width, 256u);
    EXPECT_EQ(texture.surfaces.at(0).at(0).At(255, 255), 0x00FFFFFFu);
}

TEST_F(FontCommand, RefusesBadArgumentsWithAUsageErrorAndWritesNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"Arial", "12"},
        {"Arial", "12", Path("a"), Path("b")},
        {"Arial", "twelve", Path("a")},
        {"Arial", "0", Path("a")},
        {"Arial", "1001", Path("a")},
        {"", "12", Path("a")},
        {"Arial", "12", Path("a"), "--texture", "300"},
        {"Arial", "12", Path("a"), "--texture"},
        {"Arial", "12", Path("a"), "--color", "GG0000"},
        {"Arial", "12", Path("a"), "--color", "12345"},
        {"Arial", "12", Path("a"), "--underline"},
    };
    for (const std::vector<std::string>& arguments : bad) {
        const lvxtest::SChildResult run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(arguments) << run.err;
        EXPECT_THAT(run.err, HasSubstr("lumivexis font --help"));
    }
    const lvxtest::SChildResult accent = Run({"Arial", "12", Path("a"), "--chars", "caf\xC3\xA9\t"});
    EXPECT_EQ(accent.exitCode, 2);
    EXPECT_THAT(accent.err, HasSubstr("The characters \"\xC3\xA9\" and U+0009 cannot be imported"));
    EXPECT_THAT(m_folder.Entries(), IsEmpty());
}

TEST_F(FontCommand, AFileThatCannotBeWrittenFailsWithTheReason) {
    const lvxtest::SChildResult run = Run({"Arial", "12", Path("missing/font.bnf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("No such file or directory"));
    EXPECT_THAT(run.err, HasSubstr("Nothing was written."));
    EXPECT_THAT(m_folder.Entries(), IsEmpty());
}

TEST_F(FontCommand, GlyphsThatDoNotFitAreWrittenWithAWarning) {
    const lvxtest::SChildResult run = Run({"Arial", "72", Path("big")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("lumivexis font: warning: "));
    EXPECT_THAT(run.err, HasSubstr("do not fit into the 256 x 256 texture"));
    EXPECT_THAT(m_folder.Entries(), ElementsAre("big.bnf", "big.png"));
}

TEST_F(FontCommand, HelpDescribesTheCommand) {
    const lvxtest::SChildResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: lumivexis font FACE SIZE OUT.bnf [--bold] [--italic]"));
    const lvxtest::SChildResult tool = lvxtest::RunChild({kTool, "--help"});
    EXPECT_EQ(tool.exitCode, 0);
    EXPECT_THAT(tool.out, HasSubstr("  font      make a bitmap font"));
}

}  // namespace
