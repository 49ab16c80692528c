// "Fonts Importer": the fields and when they take effect, the font and
// colour dialogs, the preview, the refusals and what "Save Fonts..." writes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Screenshots.h"
#include "common/QtTestApplication.h"
#include "dialogs/CFontImporterDialog.h"
#include "dialogs/CFontPreview.h"
#include "dialogs/CModalAnswers.h"
#include "support/CTempFolder.h"
#include "support/CUnprivilegedFiles.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

struct SDescriptorLine {
    char character = 0;
    SGlyphCell cell;
};

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Splits at line feeds; every line must end in one.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last line feed";
    return lines;
}

// The descriptor read as "%c %f,%f %f,%f" lines, the character taken as the
// line's first byte (the blank's line starts with it).
std::vector<SDescriptorLine> ReadDescriptor(const std::string& path) {
    std::vector<SDescriptorLine> entries;
    for (const std::string& line : Lines(ReadText(path))) {
        SDescriptorLine entry;
        entry.character = line.empty() ? '\0' : line[0];
        SGlyphCell& c = entry.cell;
        EXPECT_EQ(std::sscanf(line.c_str() + 1, " %f,%f %f,%f", &c.left, &c.top, &c.right, &c.bottom), 4) << line;
        entries.push_back(entry);
    }
    return entries;
}

class FontImporterDialog : public testing::Test {
protected:
    // Refreshes with these characters (and the other fields as they are).
    void RefreshWith(const QString& characters) {
        m_dialog.CharactersEdit()->setText(characters);
        ASSERT_TRUE(m_dialog.Refresh());
    }
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    // Pixel distance of a cell edge from the texture's origin.
    static float Pixels(float coordinate, int size) { return coordinate * static_cast<float>(size); }

    QApplication& m_application = lvxtest::TestApplication();  // before the first widget
    CTempFolder m_folder;
    CFontImporterDialog m_dialog;
};

TEST_F(FontImporterDialog, OpensWithItsDefaultsAndAPreviewOfEveryCharacter) {
    EXPECT_EQ(m_dialog.windowTitle(), "Fonts Importer");
    EXPECT_FALSE(m_dialog.windowIcon().isNull());
    EXPECT_EQ(m_dialog.NameEdit()->text(), "Arial");
    EXPECT_TRUE(m_dialog.NameEdit()->isReadOnly());
    EXPECT_EQ(m_dialog.SizeBox()->value(), 12);
    EXPECT_TRUE(m_dialog.SmallTextureButton()->isChecked());
    EXPECT_TRUE(m_dialog.WhiteBackgroundButton()->isChecked());
    EXPECT_EQ(m_dialog.TextColor(), QColor(Qt::black));
    EXPECT_EQ(m_dialog.CharactersEdit()->text(), "");

    // Arial is drawn with what fontconfig puts in its place.
    const CFontBitmaps& bitmaps = m_dialog.Importer().GetBitmaps();
    ASSERT_TRUE(bitmaps.IsBuilt());
    EXPECT_EQ(bitmaps.GetCharacters().size(), 95u);
    EXPECT_THAT(m_dialog.FaceLine()->text().toStdString(), HasSubstr(bitmaps.GetFace().family));
    EXPECT_EQ(m_dialog.WarningLine()->text(), "");

    // The preview is the importer's own bitmap: black glyphs on white.
    const QImage& preview = m_dialog.Preview()->Image();
    ASSERT_EQ(preview.size(), QSize(256, 256));
    const std::vector<std::uint8_t>& pixels = bitmaps.GetPreview();
    int dark = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * 256 + x) * 4];
            ASSERT_EQ(preview.pixelColor(x, y), QColor(p[0], p[1], p[2])) << x << "," << y;
            dark += p[0] < 128;
        }
    }
    EXPECT_GT(dark, 500);
    EXPECT_EQ(preview.pixelColor(255, 255), QColor(Qt::white));

    QLabel icon;
    icon.setPixmap(m_dialog.windowIcon().pixmap(48));
    EXPECT_EQ(icon.pixmap().size(), QSize(48, 48));
    lvxtest::SaveScreenshot(icon, "font-importer-icon");
}

TEST_F(FontImporterDialog, AnEmptyFieldSavesNinetyFiveLinesInCodeOrderAndATextureWithAlpha) {
    ASSERT_TRUE(m_dialog.Refresh());
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("font"))));
    EXPECT_THAT(m_folder.Entries(), ElementsAre("font.bnf", "font.png"));

    const std::vector<SDescriptorLine> lines = ReadDescriptor(Path("font.bnf"));
    ASSERT_EQ(lines.size(), 95u);
    const CFontBitmaps& bitmaps = m_dialog.Importer().GetBitmaps();
    for (int code = 32; code <= 126; ++code) {
        const SDescriptorLine& line = lines[code - 32];
        EXPECT_EQ(static_cast<unsigned char>(line.character), code);
        const SGlyphCell cell = bitmaps.GetCell(static_cast<unsigned char>(code));
        EXPECT_NEAR(line.cell.left, cell.left, 1e-6) << code;
        EXPECT_NEAR(line.cell.top, cell.top, 1e-6) << code;
        EXPECT_NEAR(line.cell.right, cell.right, 1e-6) << code;
        EXPECT_NEAR(line.cell.bottom, cell.bottom, 1e-6) << code;
    }

    // Black everywhere, the glyphs' coverage as alpha.
    const QImage texture = QImage(QString::fromStdString(Path("font.png"))).convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(texture.size(), QSize(256, 256));
    const std::vector<std::uint8_t>& mask = bitmaps.GetMask();
    int opaque = 0;
    for (int y = 0; y < 256; ++y) {
        const uchar* row = texture.constScanLine(y);
        for (int x = 0; x < 256; ++x) {
            const uchar* p = row + x * 4;
            ASSERT_EQ(p[0] | p[1] | p[2], 0) << x << "," << y;
            ASSERT_EQ(p[3], mask[static_cast<std::size_t>(y) * 256 + x]) << x << "," << y;
            opaque += p[3] == 255;
        }
    }
    EXPECT_GT(opaque, 300);
}

TEST_F(FontImporterDialog, BnfIsAppendedUnlessTheNameEndsInExactlyIt) {
    ASSERT_TRUE(m_dialog.Refresh());
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("plain"))));
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("ending.bnf"))));
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("upper.BNF"))));
    EXPECT_THAT(m_folder.Entries(),
                ElementsAre("ending.bnf", "ending.png", "plain.bnf", "plain.png", "upper.BNF.bnf", "upper.BNF.png"));
    EXPECT_EQ(ReadText(Path("plain.bnf")), ReadText(Path("upper.BNF.bnf")));
}

TEST_F(FontImporterDialog, SaveFontsRefreshesFromTheFieldsAndAsksInQtsOwnFileDialog) {
    m_dialog.CharactersEdit()->setText("XY");  // no Refresh: saving takes the fields as they are
    CModalAnswers answers;
    answers.OnDialog([this](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Brennox Fonts Files (*.bnf)"});
        dialog->setDirectory(QString::fromStdString(m_folder.Root().string()));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText("picked");
        QMetaObject::invokeMethod(dialog, "accept");  // what the Save button does
    });
    EXPECT_TRUE(m_dialog.SaveFonts());
    EXPECT_THAT(m_folder.Entries(), ElementsAre("picked.bnf", "picked.png"));
    const std::vector<SDescriptorLine> lines = ReadDescriptor(Path("picked.bnf"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].character, 'X');
    EXPECT_EQ(lines[1].character, 'Y');
    EXPECT_EQ(m_dialog.Importer().GetBitmaps().GetCharacters(), "XY");

    // Cancelling the file dialog writes nothing.
    answers.OnDialog([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    m_dialog.CharactersEdit()->setText("Z");
    EXPECT_FALSE(m_dialog.SaveFonts());
    EXPECT_EQ(answers.DialogsAnswered(), 2);
    EXPECT_THAT(m_folder.Entries(), ElementsAre("picked.bnf", "picked.png"));
    EXPECT_EQ(ReadDescriptor(Path("picked.bnf")).size(), 2u);
    EXPECT_THAT(answers.Messages(), IsEmpty());
}

TEST_F(FontImporterDialog, ACharacterListedTwiceIsWrittenTwiceWithItsLastCell) {
    RefreshWith("ABA");
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("twice"))));
    const std::string text = ReadText(Path("twice.bnf"));
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], lines[2]);
    const std::vector<SDescriptorLine> cells = ReadDescriptor(Path("twice.bnf"));
    // The A that counts is the one after B: one pixel right of B's cell.
    EXPECT_NEAR(Pixels(cells[0].cell.left, 256), Pixels(cells[1].cell.right, 256) + 1, 1e-3);
}

TEST_F(FontImporterDialog, CellsAreLaidOutInPixelsOverTheTextureSize) {
    RefreshWith("AB");
    const SGlyphCell a256 = m_dialog.Importer().GetBitmaps().GetCell('A');
    const SGlyphCell b256 = m_dialog.Importer().GetBitmaps().GetCell('B');
    EXPECT_EQ(a256.left, 0.0f);
    EXPECT_EQ(a256.top, 0.0f);
    EXPECT_FLOAT_EQ(Pixels(b256.left, 256), Pixels(a256.right, 256) + 1);  // one blank pixel between
    EXPECT_EQ(b256.top, 0.0f);

    m_dialog.LargeTextureButton()->click();
    EXPECT_EQ(m_dialog.Importer().GetBitmaps().GetSize(), 256);  // not before Refresh
    ASSERT_TRUE(m_dialog.Refresh());
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("large"))));
    const std::vector<SDescriptorLine> lines = ReadDescriptor(Path("large.bnf"));
    ASSERT_EQ(lines.size(), 2u);
    // The same pixels, divided by 512.
    EXPECT_NEAR(lines[0].cell.right, a256.right / 2, 1e-6);
    EXPECT_NEAR(lines[0].cell.bottom, a256.bottom / 2, 1e-6);
    EXPECT_NEAR(lines[1].cell.left, b256.left / 2, 1e-6);
    EXPECT_NEAR(lines[1].cell.right, b256.right / 2, 1e-6);
    const float rightPixels = Pixels(lines[0].cell.right, 512);
    EXPECT_NEAR(rightPixels, std::round(rightPixels), 1e-3);
    EXPECT_EQ(QImage(QString::fromStdString(Path("large.png"))).size(), QSize(512, 512));
}

TEST_F(FontImporterDialog, CharactersOutsideBlankToTildeAreRefusedByName) {
    CModalAnswers answers;
    m_dialog.CharactersEdit()->setText(QString::fromUtf8("A\xC3\xA9\tB"));
    EXPECT_FALSE(m_dialog.Refresh());
    ASSERT_EQ(answers.Messages().size(), 1);
    EXPECT_THAT(answers.Messages()[0].toStdString(), HasSubstr("\"\xC3\xA9\" and U+0009 cannot be imported"));
    // The last build stays, and nothing is saved: the file dialog never opens.
    EXPECT_EQ(m_dialog.Importer().GetBitmaps().GetCharacters().size(), 95u);
    EXPECT_FALSE(m_dialog.SaveFonts());
    EXPECT_EQ(answers.Messages().size(), 2);
    EXPECT_EQ(answers.DialogsAnswered(), 0);
    EXPECT_THAT(m_folder.Entries(), IsEmpty());
}

TEST_F(FontImporterDialog, ASaveThatFailsSaysWhyAndLeavesNoFiles) {
    ASSERT_TRUE(m_dialog.Refresh());
    CModalAnswers answers;
    {
        using std::filesystem::perms;
        std::filesystem::create_directory(Path("locked"));
        std::filesystem::permissions(Path("locked"), perms::owner_read | perms::owner_exec);
        CUnprivilegedFiles unprivileged;
        EXPECT_FALSE(m_dialog.WriteFiles(QString::fromStdString(Path("locked/font"))));
    }
    // The descriptor's name is taken by a folder: the texture is not left
    // behind on its own.
    std::filesystem::create_directory(Path("font.bnf"));
    EXPECT_FALSE(m_dialog.WriteFiles(QString::fromStdString(Path("font"))));
    ASSERT_EQ(answers.Messages().size(), 2);
    EXPECT_THAT(answers.Messages()[0].toStdString(), HasSubstr("Permission denied"));
    EXPECT_THAT(answers.Messages()[1].toStdString(), HasSubstr("font.bnf"));
    EXPECT_THAT(m_folder.Entries(), ElementsAre("font.bnf", "locked"));
    EXPECT_TRUE(std::filesystem::is_empty(Path("locked")));
    EXPECT_TRUE(std::filesystem::is_empty(Path("font.bnf")));
}

TEST_F(FontImporterDialog, TheFontDialogsChoiceIsTakenOverOnlyWhenConfirmed) {
    CModalAnswers answers;
    answers.OnDialog([](QWidget* modal) {
        auto* dialog = qobject_cast<QFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFontDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->currentFont().pointSize(), 12);  // starts from the fields
        dialog->setCurrentFont(QFont("Liberation Serif", 20, QFont::Bold, true));
        dialog->accept();
    });
    answers.OnDialog([](QWidget* modal) {
        auto* dialog = qobject_cast<QFontDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentFont(QFont("Liberation Mono", 30));
        dialog->reject();
    });
    m_dialog.ChooseButton()->click();
    EXPECT_EQ(m_dialog.NameEdit()->text(), "Liberation Serif");
    EXPECT_EQ(m_dialog.SizeBox()->value(), 20);
    m_dialog.ChooseButton()->click();
    EXPECT_EQ(answers.DialogsAnswered(), 2);
    EXPECT_EQ(m_dialog.NameEdit()->text(), "Liberation Serif");
    EXPECT_EQ(m_dialog.SizeBox()->value(), 20);

    // The font's style shows once refreshed.
    EXPECT_EQ(m_dialog.Importer().GetBitmaps().GetFace().family, "Liberation Sans");
    ASSERT_TRUE(m_dialog.Refresh());
    const CFontImportSettings& built = m_dialog.Importer().GetBitmaps().GetSettings();
    EXPECT_EQ(built.faceName, "Liberation Serif");
    EXPECT_EQ(built.pointSize, 20);
    EXPECT_TRUE(built.bold);
    EXPECT_TRUE(built.italic);
    EXPECT_EQ(m_dialog.Importer().GetBitmaps().GetFace().style, "Bold Italic");
}

TEST_F(FontImporterDialog, BoldMeansWeightSevenHundredAndSizesCountInWholePoints) {
    QFont font("Liberation Sans");
    font.setPointSizeF(20.94);  // 209 tenths
    font.setWeight(QFont::DemiBold);
    m_dialog.TakeFont(font);
    EXPECT_EQ(m_dialog.SizeBox()->value(), 20);
    EXPECT_EQ(m_dialog.FieldFont().weight(), QFont::Normal);

    font.setPointSizeF(9.96);  // 100 tenths
    font.setWeight(QFont::Bold);
    m_dialog.TakeFont(font);
    EXPECT_EQ(m_dialog.SizeBox()->value(), 10);
    EXPECT_EQ(m_dialog.FieldFont().weight(), QFont::Bold);

    font.setWeight(QFont::ExtraBold);
    font.setItalic(true);
    m_dialog.TakeFont(font);
    EXPECT_EQ(m_dialog.FieldFont().weight(), QFont::Normal);
    EXPECT_TRUE(m_dialog.FieldFont().italic());

    // A family that several foundries offer is named without the foundry.
    m_dialog.TakeFont(QFont("Liberation Sans [1ASC]"));
    EXPECT_EQ(m_dialog.NameEdit()->text(), "Liberation Sans");
}

TEST_F(FontImporterDialog, TheColourComesFromTheColourDialogAndPaintsTheTexture) {
    CModalAnswers answers;
    answers.OnDialog([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QColorDialog::DontUseNativeDialog));
        EXPECT_EQ(dialog->currentColor(), QColor(Qt::black));
        dialog->setCurrentColor(QColor(200, 40, 10));
        dialog->accept();
    });
    answers.OnDialog([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->currentColor(), QColor(200, 40, 10));
        dialog->setCurrentColor(QColor(Qt::green));
        dialog->reject();
    });
    m_dialog.SetColorButton()->click();
    EXPECT_EQ(m_dialog.TextColor(), QColor(200, 40, 10));
    m_dialog.ColorSample()->click();  // the sample opens the same dialog
    EXPECT_EQ(answers.DialogsAnswered(), 2);
    EXPECT_EQ(m_dialog.TextColor(), QColor(200, 40, 10));

    RefreshWith("I");
    ASSERT_TRUE(m_dialog.WriteFiles(QString::fromStdString(Path("red"))));
    const QImage texture(QString::fromStdString(Path("red.png")));
    ASSERT_FALSE(texture.isNull());
    EXPECT_EQ(texture.pixel(0, 0), qRgba(200, 40, 10, texture.pixel(0, 0) >> 24));
    EXPECT_EQ(texture.pixel(200, 200), qRgba(200, 40, 10, 0));
    EXPECT_THAT(answers.Messages(), IsEmpty());
}

TEST_F(FontImporterDialog, TheBackgroundChangesThePreviewOnRefreshOnly) {
    m_dialog.show();
    lvxtest::SaveScreenshot(m_dialog, "font-importer-white");
    m_dialog.BlackBackgroundButton()->click();
    EXPECT_EQ(m_dialog.Preview()->Image().pixelColor(255, 255), QColor(Qt::white));
    m_dialog.SetTextColor(QColor(255, 220, 0));
    ASSERT_TRUE(m_dialog.Refresh());
    const QImage& preview = m_dialog.Preview()->Image();
    EXPECT_EQ(preview.pixelColor(255, 255), QColor(Qt::black));
    // Stretched over the whole area.
    const QImage shown = m_dialog.Preview()->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(CFontPreview::kSide, CFontPreview::kSide) * shown.devicePixelRatio());
    const QRect area = m_dialog.Preview()->ImageArea();
    EXPECT_EQ(area.size(), QSize(CFontPreview::kSide - 2, CFontPreview::kSide - 2));
    EXPECT_EQ(shown.pixelColor(area.bottomRight()), QColor(Qt::black));
    EXPECT_NE(shown.pixelColor(area.bottomRight() + QPoint(1, 1)), QColor(Qt::black));  // the frame
    lvxtest::SaveScreenshot(m_dialog, "font-importer-black");
}

TEST_F(FontImporterDialog, GlyphsThatDoNotFitAreReportedOnTheWarningLine) {
    CModalAnswers answers;
    m_dialog.SizeBox()->setValue(120);
    ASSERT_TRUE(m_dialog.Refresh());
    EXPECT_THAT(m_dialog.WarningLine()->text().toStdString(), HasSubstr("do not fit into the 256 x 256 texture"));
    EXPECT_THAT(answers.Messages(), IsEmpty());
    lvxtest::SaveScreenshot(m_dialog, "font-importer-too-large");
    m_dialog.SizeBox()->setValue(12);
    ASSERT_TRUE(m_dialog.Refresh());
    EXPECT_EQ(m_dialog.WarningLine()->text(), "");
}

TEST_F(FontImporterDialog, ExitClosesTheDialog) {
    m_dialog.show();
    m_dialog.ExitButton()->click();
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected);
    EXPECT_EQ(m_dialog.ExitButton()->text(), "E&xit");
    EXPECT_EQ(m_dialog.SaveButton()->text(), "Save Fonts...");
    EXPECT_EQ(m_dialog.RefreshButton()->text(), "Refresh");
}

}  // namespace
