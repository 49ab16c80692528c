#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "FontImportTestSupport.h"
#include "fontimport/CFontImporter.h"
#include "support/CFileSizeLimit.h"
#include "support/CTempFolder.h"
#include "support/CUnprivilegedFiles.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

CFontImporter BuiltImporter(SRgbColor color = {}, int pointSize = 30) {
    CFontImporter importer;
    importer.Settings().faceName = "Liberation Sans";
    importer.Settings().pointSize = pointSize;
    importer.Settings().textColor = color;
    importer.Settings().characters = "AB|";
    EXPECT_TRUE(importer.Build().ok);
    return importer;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

TEST(FontSave, TextureHasTheTextColourEverywhereAndTheGlyphCoverageAsAlpha) {
    CTempFolder folder;
    const CFontImporter importer = BuiltImporter({10, 200, 30});
    const SFontImportResult result = importer.Save(folder.Path("font"));
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_THAT(folder.Entries(), ElementsAre("font.bnf", "font.png"));

    const SDecodedPng png = ReadPng(folder.Path("font.png"));
    ASSERT_TRUE(png.ok);
    EXPECT_TRUE(png.storedAsRgba);
    ASSERT_EQ(png.width, 256);
    ASSERT_EQ(png.height, 256);
    const std::vector<std::uint8_t>& mask = importer.GetBitmaps().GetMask();
    for (std::size_t pixel = 0; pixel < mask.size(); ++pixel) {
        const std::uint8_t* p = &png.rgba[pixel * 4];
        ASSERT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{10, 200, 30})) << pixel;
        ASSERT_EQ(p[3], mask[pixel]) << pixel;
    }
    // Transparent around the glyphs, opaque inside the bar's stroke.
    EXPECT_EQ(png.rgba.back(), 0);
    const SGlyphCell bar = importer.GetBitmaps().GetCell('|');
    const int column = static_cast<int>((bar.left + bar.right) / 2 * 256);
    const int row = static_cast<int>((bar.top + bar.bottom) / 2 * 256);
    EXPECT_EQ(png.rgba[(static_cast<std::size_t>(row) * 256 + column) * 4 + 3], 255);
}

TEST(FontSave, UpperCaseEndingGetsBothEndingsAppended) {
    CTempFolder folder;
    ASSERT_TRUE(BuiltImporter().Save(folder.Path("font.BNF")).ok);
    ASSERT_TRUE(BuiltImporter().Save(folder.Path("other.bnf")).ok);
    EXPECT_THAT(folder.Entries(), ElementsAre("font.BNF.bnf", "font.BNF.png", "other.bnf", "other.png"));
}

TEST(FontSave, FailedSaveReportsWhyAndLeavesTheFolderAsItWas) {
    const CFontImporter importer = BuiltImporter();
    {
        CTempFolder folder;
        using std::filesystem::perms;
        std::filesystem::permissions(folder.Root(), perms::owner_read | perms::owner_exec | perms::group_read |
                                                        perms::group_exec | perms::others_read | perms::others_exec);
        CUnprivilegedFiles unprivileged;
        const SFontImportResult result = importer.Save(folder.Path("font"));
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr(folder.Path("font.png")));
        EXPECT_THAT(result.error, HasSubstr("Permission denied"));
        EXPECT_THAT(folder.Entries(), ElementsAre());
    }
    {
        CTempFolder folder;
        WriteFile(folder.Path("font.bnf"), "old\n");
        WriteFile(folder.Path("font.png"), "old");
        CFileSizeLimit diskFull(64);
        const SFontImportResult result = importer.Save(folder.Path("font"));
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(result.error, HasSubstr("File too large"));
        EXPECT_THAT(folder.Entries(), ElementsAre("font.bnf", "font.png"));
        EXPECT_EQ(ReadText(folder.Path("font.bnf")), "old\n");
        EXPECT_EQ(ReadText(folder.Path("font.png")), "old");
    }
    {
        // The image cannot take its place (a folder has its name): the
        // descriptor, already written, is not put in place either.
        CTempFolder folder;
        std::filesystem::create_directory(folder.Path("font.png"));
        const SFontImportResult result = importer.Save(folder.Path("font"));
        EXPECT_FALSE(result.ok);
        EXPECT_THAT(folder.Entries(), ElementsAre("font.png"));
    }
    {
        CTempFolder folder;
        EXPECT_THAT(importer.Save(folder.Path("missing/font")).error, HasSubstr("No such file or directory"));
        EXPECT_THAT(CFontImporter().Save(folder.Path("font")).error, HasSubstr("no font to save"));
        EXPECT_THAT(folder.Entries(), ElementsAre());
    }
}

}  // namespace
