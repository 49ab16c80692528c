#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FontImportTestSupport.h"
#include "fontimport/CBnfWriter.h"
#include "fontimport/CFontImporter.h"
#include "support/CTempFolder.h"

namespace {

CFontImporter BuiltImporter(const std::string& characters, int textureSize = 256) {
    CFontImporter importer;
    importer.Settings().faceName = "Liberation Sans";
    importer.Settings().characters = characters;
    importer.Settings().textureSize = textureSize;
    const SFontImportResult result = importer.Build();
    EXPECT_TRUE(result.ok) << result.error;
    return importer;
}

TEST(BnfDescriptor, LinesHoldTheCharacterAndItsCellWithSixDecimals) {
    CBnfWriter writer;
    writer.AddLine('A', {0.0f, 0.0f, 0.0625f, 0.125f});
    writer.AddLine(',', {0.5f, 1.0f / 3.0f, 1.25f, 0.9999999f});
    EXPECT_EQ(writer.GetText(),
              "A 0.000000,0.000000 0.062500,0.125000\n"
              ", 0.500000,0.333333 1.250000,1.000000\n");
}

TEST(BnfDescriptor, EmptyFieldListsTheCharactersFromBlankToTildeInCodeOrder) {
    const CFontImporter importer = BuiltImporter("");
    const std::string text = CFontImporter::FormatDescriptor(importer.GetBitmaps());
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 95u);
    EXPECT_EQ(text.back(), '\n');
    for (int code = 32; code <= 126; ++code) {
        const std::string& line = lines[code - 32];
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(static_cast<unsigned char>(line[0]), code);
        float left = -1, top = -1, right = -1, bottom = -1;
        EXPECT_EQ(std::sscanf(line.c_str() + 1, " %f,%f %f,%f", &left, &top, &right, &bottom), 4) << line;
        const SGlyphCell cell = importer.GetBitmaps().GetCell(static_cast<unsigned char>(code));
        EXPECT_NEAR(left, cell.left, 1e-6);
        EXPECT_NEAR(bottom, cell.bottom, 1e-6);
    }
    EXPECT_EQ(lines[0].substr(0, 20), "  0.000000,0.000000 ");  // the blank's cell opens the texture
}

TEST(BnfDescriptor, CharacterListedTwiceIsWrittenTwiceWithItsLastCell) {
    const CFontImporter importer = BuiltImporter("ABA");
    const std::vector<std::string> lines = SplitLines(CFontImporter::FormatDescriptor(importer.GetBitmaps()));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], lines[2]);
    EXPECT_EQ(lines[0][0], 'A');
    EXPECT_EQ(lines[1][0], 'B');
    // The last placement of A comes after B, so it does not start at the left edge.
    EXPECT_GT(importer.GetBitmaps().GetCell('A').left, importer.GetBitmaps().GetCell('B').right);
    EXPECT_NE(lines[0].substr(2, 8), "0.000000");
}

TEST(BnfDescriptor, FileNamesGetTheBnfEndingUnlessTheyEndInItExactly) {
    EXPECT_EQ(CFontImporter::DescriptorPathFor("/fonts/comic"), "/fonts/comic.bnf");
    EXPECT_EQ(CFontImporter::DescriptorPathFor("/fonts/comic.bnf"), "/fonts/comic.bnf");
    EXPECT_EQ(CFontImporter::DescriptorPathFor("/fonts/comic.BNF"), "/fonts/comic.BNF.bnf");
    EXPECT_EQ(CFontImporter::DescriptorPathFor("a.bn"), "a.bn.bnf");
    EXPECT_EQ(CFontImporter::ImagePathFor("/fonts/comic.bnf"), "/fonts/comic.png");
    EXPECT_EQ(CFontImporter::ImagePathFor(CFontImporter::DescriptorPathFor("/fonts/comic.BNF")),
              "/fonts/comic.BNF.png");
}

// A locale with a decimal comma, compiled into a private folder when the
// system has none installed. Restores the C locale when it goes.
class CCommaLocale {
public:
    explicit CCommaLocale(const CTempFolder& folder) {
        if (Activate()) {
            return;
        }
        const std::string command =
            "localedef -i de_DE -f ISO-8859-1 '" + folder.Path("de_DE.iso88591") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) >= 0) {
            ::setenv("LOCPATH", folder.Root().c_str(), 1);
            Activate();
        }
    }
    ~CCommaLocale() {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    bool IsActive() const { return std::string(std::localeconv()->decimal_point) == ","; }

private:
    bool Activate() { return std::setlocale(LC_ALL, "de_DE.iso88591") != nullptr && IsActive(); }
};

TEST(BnfDescriptor, UsesADecimalDotWhateverTheLocale) {
    CTempFolder folder;
    CCommaLocale locale(folder);
    if (!locale.IsActive()) {
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    char printed[32];
    std::snprintf(printed, sizeof printed, "%f", 0.5);
    ASSERT_STREQ(printed, "0,500000");  // the locale is in force for printf

    const CFontImporter importer = BuiltImporter("AB");
    ASSERT_TRUE(importer.Save(folder.Path("font")).ok);
    const std::string text = ReadText(folder.Path("font.bnf"));
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) {  // four numbers with a dot each, two commas between them
        EXPECT_EQ(std::count(line.begin(), line.end(), '.'), 4) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 2) << line;
    }
    EXPECT_EQ(lines[0].substr(0, 20), "A 0.000000,0.000000 ");
    std::setlocale(LC_ALL, "C");
    float left = 0, top = 0, right = 0, bottom = 0;
    char character = 0;
    ASSERT_EQ(std::sscanf(lines[1].c_str(), " %c %f , %f %f , %f", &character, &left, &top, &right, &bottom), 5);
    EXPECT_EQ(character, 'B');
    EXPECT_FLOAT_EQ(left, importer.GetBitmaps().GetCell('B').left);
    EXPECT_GT(left, 0.0f);
}

}  // namespace
