// The settings without their dialog: the flags they make of the scene's
// previous ones, the kind of file offered, and the names an export with
// installer derives from the chosen file.

#include <gtest/gtest.h>

#include "export/SExportSettings.h"
#include "export/SInstallerNames.h"

TEST(ExportSettings, TheFlagsFollowTheTypeClearBitsOneAndThreeAndKeepTheRest) {
    SExportSettings saver;
    saver.fullscreen = false;  // hidden for a screensaver, and without effect
    SExportSettings executable;
    executable.type = TExportType::StandardExecutable;
    const CDisplayFormat allSet(3, ~0, "old");
    EXPECT_EQ(saver.DisplayFormat(allSet).m_iFlags, (~0 & ~0xF) | 1);
    EXPECT_EQ(executable.DisplayFormat(allSet).m_iFlags, ~0 & ~0xF);
    executable.fullscreen = false;
    executable.resolution = 4;
    executable.windowTitle = "Night Sky";
    const CDisplayFormat windowed = executable.DisplayFormat(CDisplayFormat(0, 0x101, ""));
    EXPECT_EQ(windowed.m_iFlags, 0x104);
    EXPECT_EQ(windowed.m_iResolution, 4);
    EXPECT_EQ(windowed.m_Name, "Night Sky");

    // The file keeps 100 bytes of the title: no character is cut in two.
    saver.windowTitle = QString(99, QLatin1Char('a')) + QStringLiteral("\u00e9\u00e9");
    EXPECT_EQ(saver.DisplayFormat(allSet).m_Name, std::string(99, 'a'));
}

TEST(ExportSettings, ExecutablesAndInstallersAreChosenAsExeBareScreensaversAsScr) {
    SExportSettings settings;
    EXPECT_EQ(settings.FileFilter(), "Screen Savers (*.scr)");
    EXPECT_EQ(settings.DefaultSuffix(), "scr");
    settings.installer = true;
    EXPECT_EQ(settings.FileFilter(), "Executables (*.exe)");
    EXPECT_EQ(settings.DefaultSuffix(), "exe");
    EXPECT_TRUE(settings.BuildsInstaller());
    // The installer box is hidden for an executable: it builds none.
    settings.type = TExportType::StandardExecutable;
    EXPECT_EQ(settings.FileFilter(), "Executables (*.exe)");
    EXPECT_FALSE(settings.BuildsInstaller());
}

TEST(InstallerNames, TheScreensaverAndTheInstallerTakeTheChosenNameAndFolder) {
    const SInstallerNames demo = SInstallerNames::FromChosenPath("/home/ann/out/demo.exe");
    EXPECT_EQ(demo.screensaverName, "demo.scr");
    EXPECT_EQ(demo.screensaverPath, "/home/ann/out/demo.scr");
    EXPECT_EQ(demo.outputFolder, "/home/ann/out/");
    EXPECT_EQ(demo.outputName, "demo");
    EXPECT_EQ(demo.smallName, "demo.scr");
    EXPECT_EQ(demo.installerPath, "/home/ann/out/demo.run");

    const SInstallerNames special = SInstallerNames::FromChosenPath("C:\\out\\MySpecialSaver.exe");
    EXPECT_EQ(special.screensaverName, "MySpecialSaver.scr");
    EXPECT_EQ(special.smallName, "MYSPEC~1.SCR");
    EXPECT_EQ(special.outputFolder, "C:\\out\\");
    EXPECT_EQ(special.outputName, "MySpecialSaver");
    EXPECT_EQ(SInstallerNames::SmallName("abcdefgh.scr"), "abcdefgh.scr");  // twelve: still short

    // Without a three-letter extension the whole name stays.
    const SInstallerNames bare = SInstallerNames::FromChosenPath("/out.d/night sky");
    EXPECT_EQ(bare.screensaverPath, "/out.d/night sky.scr");
    EXPECT_EQ(bare.installerPath, "/out.d/night sky.run");
}
