// "IDE Properties": what it shows of the editor's settings file when it
// opens, what OK writes (and Cancel does not), and the view sizes that
// have no button of their own.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "app/CEditorSettings.h"
#include "common/QtTestApplication.h"
#include "core/CScreen.h"
#include "properties/CIdeOptionsSheet.h"
#include "support/CScreenStateGuard.h"
#include "support/CTempFolder.h"

namespace {

class IdeOptionsSheet : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    // The file as the next start of the editor reads it.
    std::unique_ptr<CEditorSettings> Reread() { return std::make_unique<CEditorSettings>(m_Path); }

    CScreenStateGuard m_ScreenState;  // the frame-rate overlay
    CTempFolder m_Folder;
    QString m_Path = QString::fromStdString(m_Folder.Path("settings.conf"));
    CEditorSettings m_Settings{m_Path};
};

}  // namespace

TEST_F(IdeOptionsSheet, OpensWithTheStoredSettings) {
    m_Settings.SetAngles(1);
    m_Settings.SetGrid(true);
    m_Settings.SetInvertAxis(false);
    m_Settings.SetViewSize(1024);
    m_Settings.SetFpsCounter(true);
    CIdeOptionsSheet sheet(m_Settings);
    EXPECT_EQ(sheet.windowTitle(), "IDE Properties");
    EXPECT_EQ(sheet.AnglesBox()->currentText(), "Grad");
    EXPECT_TRUE(sheet.GridCheck()->isChecked());
    EXPECT_FALSE(sheet.InvertAxisCheck()->isChecked());
    EXPECT_TRUE(sheet.ViewSizeRadio(2)->isChecked());
    EXPECT_EQ(sheet.ViewSizeRadio(2)->text(), "1024 x 768");
    EXPECT_TRUE(sheet.FpsCounter());

    sheet.show();
    QDir().mkpath(LVX_SCREENSHOT_DIR);
    for (int tab = 0; tab < sheet.Tabs()->count(); ++tab) {
        sheet.Tabs()->setCurrentIndex(tab);
        EXPECT_TRUE(sheet.grab().save(QDir(LVX_SCREENSHOT_DIR).filePath(QString("ide-properties-%1.png").arg(tab))));
    }
}

TEST_F(IdeOptionsSheet, OkWritesEveryChoice) {
    m_Settings.SetAngles(0);
    m_Settings.SetGrid(false);
    m_Settings.SetInvertAxis(false);
    m_Settings.SetViewSize(800);
    CIdeOptionsSheet sheet(m_Settings);
    sheet.AnglesBox()->setCurrentText("Radian");
    sheet.GridCheck()->click();
    sheet.InvertAxisCheck()->click();
    sheet.ViewSizeRadio(3)->click();
    const bool counter = m_Settings.FpsCounter();
    sheet.FpsCounterCheck()->click();
    sheet.OkButton()->click();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);

    const auto stored = Reread();
    EXPECT_EQ(stored->Angles(), 2);
    EXPECT_TRUE(stored->Grid());
    EXPECT_TRUE(stored->InvertAxis());
    EXPECT_EQ(stored->ViewSize(), 1280);
    EXPECT_EQ(stored->FpsCounter(), !counter);
}

TEST_F(IdeOptionsSheet, CancelWritesNothing) {
    m_Settings.SetAngles(0);
    m_Settings.SetGrid(false);
    m_Settings.Sync();
    CIdeOptionsSheet sheet(m_Settings);
    sheet.AnglesBox()->setCurrentText("Radian");
    sheet.GridCheck()->click();
    sheet.CancelButton()->click();
    EXPECT_EQ(Reread()->Angles(), 0);
    EXPECT_FALSE(Reread()->Grid());
}

TEST_F(IdeOptionsSheet, UnknownStoredValuesOpenWithoutOrWithTheFirstChoice) {
    m_Settings.SetViewSize(1600);
    m_Settings.SetAngles(5);
    CIdeOptionsSheet sheet(m_Settings);
    EXPECT_TRUE(sheet.ViewSizeRadio(0)->isChecked());
    EXPECT_EQ(sheet.ViewSizeRadio(0)->text(), "640 x 480");
    EXPECT_EQ(sheet.AnglesBox()->currentIndex(), -1);

    // Without a choice the stored unit stays; the view size is now 640.
    sheet.OkButton()->click();
    EXPECT_EQ(Reread()->Angles(), 5);
    EXPECT_EQ(Reread()->ViewSize(), 640);
}
