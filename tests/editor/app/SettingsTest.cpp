// The editor's settings file: the defaults of an empty or unusable file, the
// section and value names other programs (and older files) use, the rule
// that only a stored 1 switches a flag on, and dock sizes below the dock's
// minimum.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

#include "app/CEditorSettings.h"
#include "app/CEditorTestHome.h"
#include "common/QtTestApplication.h"
#include "support/CTempFolder.h"

namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { lvxtest::TestApplication(); }

    QString File(const char* name) const { return QString::fromStdString(m_folder.Path(name)); }
    void WriteText(const QString& file, const QByteArray& text) const {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }

    CTempFolder m_folder;
};

TEST_F(SettingsTest, AnEmptyFileGivesTheDefaultValuesAndPlacement) {
    CEditorSettings settings(File("empty.conf"));

    EXPECT_TRUE(settings.Grid());
    EXPECT_FALSE(settings.InvertAxis());
    EXPECT_EQ(settings.Angles(), 0);
    EXPECT_EQ(settings.ViewSize(), 800);
    const SWindowPlacement placement = settings.Placement();
    EXPECT_EQ(placement.x1, 20);
    EXPECT_EQ(placement.y1, 20);
    EXPECT_EQ(placement.x2, 1024);
    EXPECT_EQ(placement.y2, 768);
    EXPECT_EQ(placement.xmin, 0);
    EXPECT_EQ(placement.ymin, 0);
    EXPECT_EQ(placement.xmax, 100000);
    EXPECT_EQ(placement.ymax, 100000);
    EXPECT_EQ(placement.flags, 0);
    EXPECT_EQ(placement.show, 0);
    EXPECT_TRUE(settings.BarState().isEmpty());
}

TEST_F(SettingsTest, ValuesAreStoredUnderTheSectionAndValueNamesOfTheFormat) {
    const QString file = File("named.conf");
    {
        CEditorSettings settings(file);
        settings.SetGrid(false);
        settings.SetInvertAxis(true);
        settings.SetAngles(2);
        settings.SetViewSize(1024);
        SWindowPlacement placement;
        placement.x1 = 5;
        placement.y1 = 6;
        placement.x2 = 700;
        placement.y2 = 800;
        placement.xmin = -1;
        placement.ymin = -2;
        placement.xmax = -3;
        placement.ymax = -4;
        placement.flags = 2;
        placement.show = 3;
        settings.SetPlacement(placement);
        settings.SetDockSizes(125, {QSize(1, 2), QSize(3, 4), QSize(5, 6)});
        settings.Sync();
    }
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value("settings/grid").toInt(), 0);
    EXPECT_EQ(raw.value("settings/invert axis").toInt(), 1);
    EXPECT_EQ(raw.value("settings/angles").toInt(), 2);
    EXPECT_EQ(raw.value("settings/view size").toInt(), 1024);
    const char* names[] = {"x1", "y1", "x2", "y2", "xmin", "ymin", "xmax", "ymax", "flags", "show"};
    const int values[] = {5, 6, 700, 800, -1, -2, -3, -4, 2, 3};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(raw.value(QStringLiteral("Main Window Coordinates/") + names[i]).toInt(), values[i]) << names[i];
    }
    raw.beginGroup("Brennox_SCSB_BARSTATE-SCBar-125");
    EXPECT_EQ(raw.value("sizeHorzCX").toInt(), 1);
    EXPECT_EQ(raw.value("sizeHorzCY").toInt(), 2);
    EXPECT_EQ(raw.value("sizeVertCX").toInt(), 3);
    EXPECT_EQ(raw.value("sizeVertCY").toInt(), 4);
    EXPECT_EQ(raw.value("sizeFloatCX").toInt(), 5);
    EXPECT_EQ(raw.value("sizeFloatCY").toInt(), 6);
}

TEST_F(SettingsTest, WrittenValuesReadBackInANewSession) {
    const QString file = File("session.conf");
    const QByteArray state("\x00\x01layout\xff", 10);
    SWindowPlacement placement;
    placement.x1 = 100;
    placement.x2 = 900;
    placement.show = 1;
    {
        CEditorSettings settings(file);
        settings.SetInvertAxis(true);
        settings.SetViewSize(400);
        settings.SetPlacement(placement);
        settings.SetBarState(state);
    }
    CEditorSettings again(file);
    EXPECT_TRUE(again.InvertAxis());
    EXPECT_EQ(again.ViewSize(), 400);
    EXPECT_EQ(again.Placement(), placement);
    EXPECT_EQ(again.BarState(), state);
}

TEST_F(SettingsTest, OnlyAStoredOneSwitchesAFlagOn) {
    const QString file = File("flags.conf");
    WriteText(file, "[settings]\ngrid=2\ninvert%20axis=1\n");
    CEditorSettings settings(file);
    EXPECT_FALSE(settings.Grid());
    EXPECT_TRUE(settings.InvertAxis());
}

TEST_F(SettingsTest, ValuesThatAreNotNumbersReadAsTheirDefaults) {
    const QString file = File("foreign.conf");
    WriteText(file,
              "[settings]\ngrid=off\nview%20size=large\nangles=\n"
              "[Main%20Window%20Coordinates]\nx1=left\ny1=7\n"
              "[Brennox_SCSB_BARSTATE]\nstate=not a layout\n");
    CEditorSettings settings(file);
    EXPECT_TRUE(settings.Grid());
    EXPECT_EQ(settings.ViewSize(), 800);
    EXPECT_EQ(settings.Angles(), 0);
    EXPECT_EQ(settings.Placement().x1, 20);
    EXPECT_EQ(settings.Placement().y1, 7);
}

TEST_F(SettingsTest, AFileOfRandomBytesGivesDefaultsAndIsKeptAsideWhenNewValuesAreWritten) {
    const QString file = File("damaged.conf");
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));
    }
    WriteText(file, garbage);
    {
        CEditorSettings settings(file);
        EXPECT_TRUE(settings.Grid());
        EXPECT_EQ(settings.ViewSize(), 800);
        EXPECT_EQ(settings.Placement(), SWindowPlacement());
        settings.SetViewSize(1280);
    }
    EXPECT_EQ(CEditorSettings(file).ViewSize(), 1280);
    QFile kept(file + ".damaged");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);
}

TEST_F(SettingsTest, DockSizesBelowTheMinimumAreIgnoredValueByValue) {
    const QString file = File("docks.conf");
    WriteText(file,
              "[Brennox_SCSB_BARSTATE-SCBar-124]\n"
              "sizeHorzCX=49\nsizeHorzCY=300\nsizeVertCX=60\nsizeVertCY=10\nsizeFloatCX=-5\nsizeFloatCY=50\n");
    const SDockSizes defaults{QSize(290, 380), QSize(291, 381), QSize(292, 382)};
    const SDockSizes sizes = CEditorSettings(file).DockSizes(124, defaults, QSize(50, 50));
    EXPECT_EQ(sizes.horizontal, QSize(290, 300));
    EXPECT_EQ(sizes.vertical, QSize(60, 381));
    EXPECT_EQ(sizes.floating, QSize(292, 50));
    // Another dock's section is not read.
    EXPECT_EQ(CEditorSettings(file).DockSizes(125, defaults, QSize(50, 50)), defaults);
}

TEST_F(SettingsTest, TheUsersSettingsLiveInTheConfigFolderUnderTheOrganisationsName) {
    lvxtest::CEditorTestHome::Reset();
    {
        CEditorSettings settings;
        settings.SetAngles(1);
        settings.Sync();
        EXPECT_EQ(QDir::cleanPath(settings.FileName()), QDir::cleanPath(lvxtest::CEditorTestHome::SettingsFile()));
    }
    EXPECT_TRUE(QFile::exists(lvxtest::CEditorTestHome::SettingsFile()));
    EXPECT_EQ(CEditorSettings().Angles(), 1);
}

}  // namespace
