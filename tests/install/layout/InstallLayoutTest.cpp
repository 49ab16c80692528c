#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files/CInstallLayout.h"
#include "support/CTempFolder.h"

namespace {

using std::filesystem::path;

CInstallLayout::SFolders Debian(const path& configured = {}) {
    return {"bin", "libexec/lumivexis", "lib/x86_64-linux-gnu", "share/lumivexis", configured};
}

path Prefix(const path& programFolder) {
    return CInstallLayout(programFolder, Debian()).Prefix();
}

class InstallLayoutTree : public ::testing::Test {
protected:
    // An empty file, with its folders.
    path Touch(const path& relative) const {
        const path file = m_Root.Root() / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file).put('x');
        return file;
    }
    path Folder(const path& relative) const {
        const path folder = m_Root.Root() / relative;
        std::filesystem::create_directories(folder);
        return folder;
    }

    CTempFolder m_Root;
};

}  // namespace

TEST(InstallLayout, ThePrefixIsTheFolderAboveAnyInstalledProgramFolder) {
    EXPECT_EQ(Prefix("/usr/bin"), path("/usr"));
    EXPECT_EQ(Prefix("/usr/bin/"), path("/usr"));
    EXPECT_EQ(Prefix("/opt/lvx/libexec/lumivexis"), path("/opt/lvx"));
    EXPECT_EQ(Prefix("/usr/lib/x86_64-linux-gnu"), path("/usr"));
    EXPECT_EQ(Prefix("/stage/usr/./bin"), path("/stage/usr"));
    EXPECT_EQ(Prefix("/bin"), path("/"));
}

TEST(InstallLayout, FoldersThatOnlyResembleAnInstalledOneHaveNoPrefix) {
    // Names compare whole: "xbin" is not "bin".
    EXPECT_EQ(Prefix("/opt/xbin"), path());
    EXPECT_EQ(Prefix("/opt/libexec/other"), path());
    EXPECT_EQ(Prefix("/usr/lib"), path());  // the library lies one level deeper
    EXPECT_EQ(Prefix("bin"), path());       // no folder above it
    EXPECT_EQ(Prefix(""), path());
}

TEST(InstallLayout, AnAbsoluteInstalledFolderBelongsToTheConfiguredPrefix) {
    CInstallLayout::SFolders folders = Debian("/opt/lvx");
    folders.m_Programs = "/opt/programs";
    EXPECT_EQ(CInstallLayout("/opt/programs", folders).Prefix(), path("/opt/lvx"));
    // ... and is not taken for a relative one somewhere else.
    EXPECT_EQ(CInstallLayout("/elsewhere/opt/programs", folders).Prefix(), path());
}

TEST(InstallLayout, DataFoldersGoFromTheProgramToItsPrefixToTheConfiguredOne) {
    const CInstallLayout installed("/stage/usr/bin", Debian("/usr/local"));
    EXPECT_EQ(installed.DataFolders(),
              (std::vector<path>{"/stage/usr/bin", "/stage/usr/share/lumivexis", "/usr/local/share/lumivexis"}));
    // Installed in the configured prefix itself: its data folder once.
    const CInstallLayout configured("/usr/local/bin", Debian("/usr/local"));
    EXPECT_EQ(configured.DataFolders(), (std::vector<path>{"/usr/local/bin", "/usr/local/share/lumivexis"}));
    // A program copied anywhere else still reaches the configured prefix.
    const CInstallLayout copied("/home/user/screensavers", Debian("/usr"));
    EXPECT_EQ(copied.DataFolders(), (std::vector<path>{"/home/user/screensavers", "/usr/share/lumivexis"}));
}

TEST_F(InstallLayoutTree, ABuildTreeFindsEverythingBesideTheProgram) {
    const path bin = Folder("build/bin");
    const path player = Touch("build/bin/ScreenSaver.dat");
    const path help = Folder("build/bin/media/help");
    // An installation elsewhere in the same "prefix" must not win.
    Touch("build/libexec/lumivexis/ScreenSaver.dat");
    Folder("build/share/lumivexis/media/help");

    const CInstallLayout layout(bin, Debian());
    EXPECT_EQ(layout.Player(), player);
    EXPECT_EQ(layout.Find("media/help"), help);
}

TEST_F(InstallLayoutTree, AnInstalledProgramFindsThePlayerAndTheSharedFilesOfItsPrefix) {
    const path bin = Folder("usr/bin");
    const path player = Touch("usr/libexec/lumivexis/ScreenSaver.dat");
    const path font = Touch("usr/share/lumivexis/media/fonts/arial.bnf");
    const path templateFolder = Folder("usr/share/lumivexis/installer");

    const CInstallLayout editor(bin, Debian("/nonexistent"));
    EXPECT_EQ(editor.Player(), player);
    EXPECT_EQ(editor.Find("media/fonts/arial.bnf"), font);
    EXPECT_EQ(editor.Find("installer"), templateFolder);

    // The player itself, in its own folder, finds the same shared files.
    const CInstallLayout playing(player.parent_path(), Debian("/nonexistent"));
    EXPECT_EQ(playing.Player(), player);
    EXPECT_EQ(playing.Find("media/fonts/arial.bnf"), font);
}

TEST_F(InstallLayoutTree, AProgramOutsideAnyPrefixFallsBackToTheConfiguredOne) {
    const path copy = Folder("home/exports");
    const path font = Touch("usr/share/lumivexis/media/fonts/arial.bnf");
    const path player = Touch("usr/libexec/lumivexis/ScreenSaver.dat");

    const CInstallLayout layout(copy, Debian(m_Root.Root() / "usr"));
    EXPECT_EQ(layout.Find("media/fonts/arial.bnf"), font);
    EXPECT_EQ(layout.Player(), player);
}

TEST_F(InstallLayoutTree, WhatIsNowhereIsReportedBesideTheProgram) {
    const path bin = Folder("usr/bin");
    Folder("usr/share/lumivexis/media");  // the folder, but not the file

    const CInstallLayout layout(bin, Debian(m_Root.Root() / "usr"));
    EXPECT_EQ(layout.Find("media/help"), bin / "media/help");
    EXPECT_EQ(layout.Player(), bin / "ScreenSaver.dat");
}

TEST_F(InstallLayoutTree, TheRunningProgramsLayoutStartsInItsOwnFolder) {
    const CInstallLayout layout = CInstallLayout::OfRunningProgram();
    EXPECT_EQ(layout.ProgramFolder(), std::filesystem::canonical("/proc/self/exe").parent_path());
    EXPECT_EQ(layout.DataFolders().front(), layout.ProgramFolder());
}

TEST(InstallLayout, TheEngineKnowsTheFoldersThisBuildInstallsTo) {
    const CInstallLayout::SFolders installed = CInstallLayout::Installed();
    EXPECT_EQ(installed.m_Programs, path(LVX_EXPECTED_BINDIR));
    EXPECT_EQ(installed.m_Player, path(LVX_EXPECTED_PLAYERDIR));
    EXPECT_EQ(installed.m_Library, path(LVX_EXPECTED_LIBDIR));
    EXPECT_EQ(installed.m_Data, path(LVX_EXPECTED_DATADIR));
    EXPECT_EQ(installed.m_ConfiguredPrefix, path(LVX_EXPECTED_PREFIX));
}
