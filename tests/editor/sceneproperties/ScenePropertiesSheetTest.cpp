// "Scene Properties" over a document: what the pages show of the engine
// when the sheet opens, the limits of the numbers typed or spun, the file
// and colour dialogs, and OK, Apply and Cancel: each write is one undo
// step, an unchanged Apply or OK writes nothing, and Cancel takes back what
// Apply wrote and leaves the undo stack where it was.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

#include "CSceneSettingsFixture.h"
#include "controls/CColorSwatch.h"
#include "dialogs/CModalAnswers.h"
#include "document/CHeadlessEngine.h"
#include "document/CSceneSettingsCommand.h"
#include "properties/CBackgroundPage.h"
#include "properties/CFogPage.h"
#include "properties/CPageDriver.h"
#include "properties/CScenePropertiesSheet.h"
#include "properties/CSoundPage.h"
#include "properties/CTimePage.h"
#include "support/BmpFile.h"
#include "support/CTempFolder.h"

using proptest::ClickDown;
using proptest::TypeInto;
using testing::ElementsAre;

namespace {

using EBackground = SSceneSettings::EBackground;

constexpr int kBitmapType = 0;
constexpr int kPlainColorType = 1;
constexpr int kSkyBoxType = 2;

void SaveScreenshot(QWidget& widget, const QString& name) {
    QDir().mkpath(LVX_SCREENSHOT_DIR);
    EXPECT_TRUE(widget.grab().save(QDir(LVX_SCREENSHOT_DIR).filePath(name + ".png")));
}

// Answers a file dialog with `path`, after noting its filters and the file
// it offered first.
CModalAnswers::DialogAnswer ChooseFile(const QString& path, QStringList& filters, QStringList& offered) {
    return [path, &filters, &offered](QWidget* dialog) {
        auto* files = static_cast<QFileDialog*>(dialog);
        filters = files->nameFilters();
        offered = files->selectedFiles();
        files->selectFile(path);
        static_cast<QDialog*>(files)->accept();  // public in QDialog
    };
}

class ScenePropertiesSheet : public CSceneSettingsFixture {
protected:
    QUndoStack& Stack() { return m_document.UndoStack(); }
};

}  // namespace

TEST_F(ScenePropertiesSheet, ASkyBoxSceneOpensOnSkyBoxWithItsSixFileNames) {
    CHeadlessEngine engine(Scene());
    ASSERT_TRUE(engine.Start());
    CTempFolder folder;
    const std::vector<BYTE> blue = EncodeBmp24(4, 4, [](int, int) { return 0x3060C0u; });
    const char* const faces[] = {"top", "bottom", "left", "right", "back", "front"};
    std::vector<CString> paths;
    for (const char* face : faces) {
        paths.push_back(folder.Write(std::string(face) + ".bmp", blue));
    }
    {
        CSceneLock lock(Scene());
        CSkyBoxObject& box = Scene().GetSkyBox();
        box.SetTopPicture(paths[0]);
        box.SetBottomPicture(paths[1]);
        box.SetLeftPicture(paths[2]);
        box.SetRightPicture(paths[3]);
        box.SetBackPicture(paths[4]);
        box.SetFrontPicture(paths[5]);
        Scene().EnableSkyBox(true);
    }
    engine.WaitFrames(2);

    CScenePropertiesSheet sheet(m_document);
    CBackgroundPage& page = *sheet.BackgroundPage();
    EXPECT_EQ(sheet.windowTitle(), "Scene Properties");
    EXPECT_EQ(page.TypeBox()->currentText(), "Sky Box");
    for (int face = 0; face < SSceneSettings::kSkyFaces; ++face) {
        EXPECT_EQ(page.FileEdit(face)->text(), QString(faces[face]) + ".bmp");
        EXPECT_TRUE(page.FileEdit(face)->isVisibleTo(&page));
    }
    EXPECT_FALSE(page.FileEdit(CBackgroundPage::kImageFile)->isVisibleTo(&page));
    EXPECT_FALSE(page.Swatch()->isVisibleTo(&page));

    sheet.show();
    sheet.Tabs()->setCurrentWidget(&page);
    SaveScreenshot(sheet, "scene-properties-background-skybox");

    // Plain colour switches both the sky box and the image off; the
    // pictures stay with the sky box for a later choice.
    page.TypeBox()->setCurrentIndex(kPlainColorType);
    EXPECT_TRUE(page.Swatch()->isVisibleTo(&page));
    SaveScreenshot(sheet, "scene-properties-background-color");
    sheet.ApplyButton()->click();
    engine.WaitFrames(2);
    EXPECT_FALSE(Scene().HasSkyBox());
    EXPECT_FALSE(Scene().HasBackgroundImage());
    EXPECT_EQ(Scene().GetSkyBox().GetTopPicture(), paths[0]);
    EXPECT_EQ(Stack().count(), 1);
}

TEST_F(ScenePropertiesSheet, ApplyIsEnabledByAChangeAndCancelTakesItBack) {
    Screen().SetTotalTime(12.0f);
    QSignalSpy told(&m_document, &CEditorDocument::SceneSettingsChanged);
    CScenePropertiesSheet sheet(m_document);
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    EXPECT_EQ(sheet.TimePage()->TotalTimeField()->Text(), "12.00");

    TypeInto(sheet.TimePage()->TotalTimeField(), "30");
    EXPECT_TRUE(sheet.ApplyButton()->isEnabled());
    sheet.ApplyButton()->click();
    EXPECT_EQ(Screen().GetTotalTime(), 30.0f);
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    EXPECT_EQ(Stack().index(), 1);
    EXPECT_EQ(told.count(), 1);

    sheet.CancelButton()->click();
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_EQ(Screen().GetTotalTime(), 12.0f);
    EXPECT_EQ(Stack().index(), 0);
    EXPECT_TRUE(m_document.IsClean());
    EXPECT_EQ(told.count(), 2);  // the timeline shows 12 s again
}

TEST_F(ScenePropertiesSheet, CancelLeavesTheStepsBeforeTheSheetAlone) {
    Stack().push(new CSceneSettingsCommand(m_document, ReadEngine(), Sample()));
    Stack().setClean();
    CScenePropertiesSheet sheet(m_document);
    sheet.CancelButton()->click();  // nothing applied: nothing undone
    EXPECT_EQ(Stack().index(), 1);
    EXPECT_EQ(ReadEngine().DifferingParts(Sample()), 0u);
}

TEST_F(ScenePropertiesSheet, AnUnchangedApplyOrOkWritesNothingMore) {
    CScenePropertiesSheet sheet(m_document);
    sheet.OkButton()->click();
    EXPECT_EQ(Stack().count(), 0);

    // The screen keeps the colour in bytes, so it reads back a little off
    // what the colour dialog gave; that is still no change.
    CScenePropertiesSheet second(m_document);
    CModalAnswers answers;
    answers.OnDialog([](QWidget* dialog) {
        static_cast<QColorDialog*>(dialog)->setCurrentColor(QColor(255, 128, 0));
        static_cast<QDialog*>(dialog)->accept();
    });
    second.BackgroundPage()->ChangeColorButton()->click();
    EXPECT_EQ(second.BackgroundPage()->Swatch()->Color(), QColor(255, 128, 0));
    second.ApplyButton()->click();
    EXPECT_EQ(Stack().count(), 1);
    second.ApplyButton()->click();
    second.OkButton()->click();
    EXPECT_EQ(Stack().count(), 1);
    const D3DCOLORVALUE color = Screen().GetBackgroundColor();
    EXPECT_NEAR(color.r, 0.99609375f, 1.0f / 255.0f);
    EXPECT_NEAR(color.g, 0.5f, 1.0f / 255.0f);
}

TEST_F(ScenePropertiesSheet, OkIsOneUndoStepAndUndoRestoresEveryValue) {
    Sample().Apply(Screen(), Scene());
    const SSceneSettings opening = ReadEngine();
    m_MusicCommands.clear();
    CScenePropertiesSheet sheet(m_document);
    EXPECT_EQ(sheet.OpeningValues().DifferingParts(opening), 0u);
    EXPECT_EQ(sheet.BackgroundPage()->TypeBox()->currentText(), "Bitmap Background");
    EXPECT_EQ(sheet.BackgroundPage()->FileEdit(CBackgroundPage::kImageFile)->text(), "stars.png");
    EXPECT_EQ(sheet.SoundPage()->FileEdit()->text(), "/music/theme.mp3");

    TypeInto(sheet.TimePage()->TotalTimeField(), "60");
    sheet.TimePage()->LoopCheck()->click();
    sheet.BackgroundPage()->TypeBox()->setCurrentIndex(kSkyBoxType);
    sheet.BackgroundPage()->ClearButton()->click();
    sheet.FogPage()->TypeBox()->setCurrentText("No Fog");
    sheet.SoundPage()->LoopCheck()->click();
    sheet.OkButton()->click();

    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(Stack().count(), 1);
    const SSceneSettings written = ReadEngine();
    EXPECT_EQ(written.DifferingParts(sheet.PageValues()), 0u);
    EXPECT_EQ(written.totalTime, 60.0f);
    EXPECT_TRUE(Scene().HasSkyBox());
    // "Clear" took the stored pictures away, not just their names.
    EXPECT_EQ(written.backgroundImage, "");
    EXPECT_EQ(written.skyBox[SSceneSettings::kTop], "");
    EXPECT_FALSE(written.fog);
    EXPECT_EQ(written.fogDensity, opening.fogDensity);
    EXPECT_FALSE(written.musicLoop);

    Stack().undo();
    EXPECT_EQ(ReadEngine().DifferingParts(opening), 0u);
}

TEST_F(ScenePropertiesSheet, TimesAndDistancesAreHeldToTheirRanges) {
    CScenePropertiesSheet sheet(m_document);
    CModalAnswers answers;
    TypeInto(sheet.TimePage()->TotalTimeField(), "-5");
    TypeInto(sheet.TimePage()->TotalTimeField(), "20000000");
    EXPECT_THAT(answers.Messages(), ElementsAre("Please enter a number between 0.00 and 10000000.00.",
                                                "Please enter a number between 0.00 and 10000000.00."));
    EXPECT_EQ(sheet.TimePage()->TotalTimeField()->Text(), "10000000.00");
    TypeInto(sheet.TimePage()->TotalTimeField(), "0.5");
    ClickDown(sheet.TimePage()->TotalTimeField());  // a whole second down
    EXPECT_EQ(sheet.PageValues().totalTime, 0.0f);

    CFogPage& fog = *sheet.FogPage();
    fog.TypeBox()->setCurrentText("Fog");
    TypeInto(fog.StartField(), "0.05");
    ClickDown(fog.StartField());
    TypeInto(fog.EndField(), "-3");
    EXPECT_EQ(fog.StartField()->Text(), "0.00");
    EXPECT_EQ(fog.EndField()->Text(), "0.00");
    EXPECT_EQ(sheet.PageValues().fogStart, 0.0f);
    EXPECT_EQ(sheet.PageValues().fogEnd, 0.0f);
}

TEST_F(ScenePropertiesSheet, TheFogControlsShowOnlyWithFog) {
    Screen().EnableFog(false);
    CScenePropertiesSheet sheet(m_document);
    CFogPage& fog = *sheet.FogPage();
    EXPECT_EQ(fog.TypeBox()->currentText(), "No Fog");
    EXPECT_FALSE(fog.Swatch()->isVisibleTo(&fog));
    EXPECT_FALSE(fog.StartField()->isVisibleTo(&fog));
    sheet.show();
    sheet.Tabs()->setCurrentWidget(&fog);
    SaveScreenshot(sheet, "scene-properties-fog-off");

    fog.TypeBox()->setCurrentText("Fog");
    EXPECT_TRUE(fog.Swatch()->isVisibleTo(&fog));
    EXPECT_TRUE(fog.EndField()->isVisibleTo(&fog));
    SaveScreenshot(sheet, "scene-properties-fog");
    sheet.Tabs()->setCurrentWidget(sheet.TimePage());
    SaveScreenshot(sheet, "scene-properties-time");
}

TEST_F(ScenePropertiesSheet, AChosenPictureIsKeptWithItsPathAndShownByName) {
    CTempFolder folder;
    const QString old = QString::fromStdString(folder.Write("old.bmp", std::string("x")));
    const QString sky = QString::fromStdString(folder.Write("sky.png", std::string("x")));
    {
        CSceneLock lock(Scene());
        Scene().GetBackgroundImage().SetTexture(ToCString(old), 0);
        Scene().EnableBackgroundImage(true);
    }
    CScenePropertiesSheet sheet(m_document);
    CBackgroundPage& page = *sheet.BackgroundPage();
    EXPECT_EQ(page.TypeBox()->currentIndex(), kBitmapType);
    sheet.show();
    sheet.Tabs()->setCurrentWidget(&page);
    SaveScreenshot(sheet, "scene-properties-background-bitmap");

    CModalAnswers answers;
    QStringList filters;
    QStringList offered;
    answers.OnDialog(ChooseFile(sky, filters, offered));
    page.BrowseButton(CBackgroundPage::kImageFile)->click();
    EXPECT_THAT(filters, ElementsAre("Bitmap Images (*.bmp *.png *.jpg *.tga)"));
    EXPECT_THAT(offered, ElementsAre(old));
    EXPECT_EQ(page.FileEdit(CBackgroundPage::kImageFile)->text(), "sky.png");
    EXPECT_EQ(sheet.PageValues().backgroundImage, ToCString(sky));

    page.BrowseButton(SSceneSettings::kFront)->click();  // cancelled
    EXPECT_EQ(sheet.PageValues().skyBox[SSceneSettings::kFront], "");
    sheet.OkButton()->click();
    EXPECT_EQ(Scene().GetBackgroundImage().GetTexture(0), ToCString(sky));
}

TEST_F(ScenePropertiesSheet, ChoosingMusicSwitchesItOnAndClearSwitchesItOff) {
    Music().SetEnable(false);
    CTempFolder folder;
    const QString theme = QString::fromStdString(folder.Write("theme.mp3", std::string("ID3")));
    CScenePropertiesSheet sheet(m_document);
    CSoundPage& sound = *sheet.SoundPage();
    CModalAnswers answers;
    QStringList filters;
    QStringList offered;
    answers.OnDialog(ChooseFile(theme, filters, offered));
    sound.BrowseButton()->click();
    EXPECT_THAT(filters, ElementsAre("MP3 Files (*.mp3)"));
    EXPECT_EQ(sound.FileEdit()->text(), theme);
    EXPECT_TRUE(sound.MusicEnabled());
    sheet.ApplyButton()->click();
    EXPECT_TRUE(Music().GetEnable());
    EXPECT_EQ(Music().GetPath(), ToCString(theme));
    EXPECT_EQ(m_MusicCommands.back(), "open \"" + theme + "\" type mpegvideo alias mp3");

    sheet.show();
    sheet.Tabs()->setCurrentWidget(&sound);
    SaveScreenshot(sheet, "scene-properties-sound");
    sound.ClearButton()->click();
    EXPECT_EQ(sound.FileEdit()->text(), "");
    sheet.OkButton()->click();
    EXPECT_FALSE(Music().GetEnable());
    EXPECT_EQ(Music().GetPath(), "");
    EXPECT_EQ(Stack().count(), 2);
}
