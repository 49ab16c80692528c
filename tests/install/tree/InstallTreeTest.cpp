// `cmake --install` into a temporary DESTDIR, the way a distribution's
// packaging runs it: the tree, the desktop integration, and the installed
// programs running on their own, finding the player and the shared files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "CShell.h"
#include "platform/files/CInstallLayout.h"
#include "support/CTempFolder.h"

namespace {

using std::filesystem::path;

std::string ReadText(const path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of `key=` in a desktop entry or of `key="..."` in an XML tag.
std::string ValueAfter(const std::string& text, const std::string& key, char end) {
    const size_t at = text.find(key);
    if (at == std::string::npos) {
        return {};
    }
    const size_t start = at + key.size();
    return text.substr(start, text.find(end, start) - start);
}

using CF = CInstallLayout::SFolders;

class InstalledTree : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        // The programs run here write their logs into the current folder.
        CTempFolder::EnterPrivateWorkingFolder();
        // Below the build, not in /tmp, which may be mounted noexec.
        s_Stage = std::make_unique<CTempFolder>(LVX_STAGE_PARENT);
        s_Install = CShell::Run("DESTDIR=" + CShell::Quote(s_Stage->Root()) + " " + CShell::Quote(LVX_CMAKE) +
                                " --install " + CShell::Quote(LVX_BUILD_DIR) + " --prefix /usr");
    }
    static void TearDownTestSuite() { s_Stage.reset(); }

protected:
    void SetUp() override { ASSERT_EQ(s_Install.m_Status, 0) << s_Install.m_Output; }

    static path Usr() { return s_Stage->Root() / "usr"; }
    static path Installed(path CInstallLayout::SFolders::*folder) {
        return Usr() / (CInstallLayout::Installed().*folder);
    }
    // The layout an installed program in `folder` sees, without the
    // configured prefix (an installation on this machine must not count).
    static CInstallLayout LayoutOf(const path& folder) {
        CInstallLayout::SFolders folders = CInstallLayout::Installed();
        folders.m_ConfiguredPrefix.clear();
        return CInstallLayout(folder, folders);
    }
    static bool IsExecutable(const path& file) {
        return std::filesystem::is_regular_file(file) &&
               (std::filesystem::status(file).permissions() & std::filesystem::perms::owner_exec) !=
                   std::filesystem::perms::none;
    }

    static inline std::unique_ptr<CTempFolder> s_Stage;
    static inline CShell::SResult s_Install;
};

}  // namespace

TEST_F(InstalledTree, PutsEveryPartWhereLinuxExpectsIt) {
    std::vector<std::string> programs;
    for (const auto& entry : std::filesystem::directory_iterator(Installed(&CF::m_Programs))) {
        programs.push_back(entry.path().filename().string());
        EXPECT_TRUE(IsExecutable(entry.path())) << entry.path();
    }
    std::sort(programs.begin(), programs.end());
    // Nothing but the programs users start by name lies on the PATH.
    const std::vector<std::string> expected =
        LVX_HAS_EDITOR ? std::vector<std::string>{"Pelavor", "lumivexis"} : std::vector<std::string>{"lumivexis"};
    EXPECT_EQ(programs, expected);
    EXPECT_TRUE(IsExecutable(Installed(&CF::m_Player) / CInstallLayout::kPlayerName));

    const path library = Installed(&CF::m_Library);
    EXPECT_TRUE(std::filesystem::is_regular_file(library / "libLumivexis_mt.so.2"));
    EXPECT_TRUE(std::filesystem::is_regular_file(library / "libLumivexis_mt.so"));
    EXPECT_TRUE(std::filesystem::is_regular_file(library / "pkgconfig/lumivexis.pc"));
    EXPECT_TRUE(std::filesystem::is_regular_file(Usr() / "include/lumivexis/scene/CScene.h"));

    const path data = Installed(&CF::m_Data);
    for (const char* file : {"media/fonts/arial.bnf", "media/fonts/arial.png", "media/demo/demo.bgs",
                             "media/help/index.html", "media/sprites/particle.png", "media/particles/fire.txt",
                             "media/paths/flight.txt", "installer/screensaver.sh.in"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(data / file)) << file;
    }
    // What a run leaves in the build's folders stays out.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Usr())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name != "log.txt" && name != "screensaver_current.sh" && name != "music.tmp") << entry.path();
    }
}

TEST_F(InstalledTree, TheDesktopEntryIsValidAndOpensScenesInPelavor) {
    if (!LVX_HAS_EDITOR) {
        GTEST_SKIP() << "built without the editor";
    }
    const path applications = Usr() / "share/applications";
    const path entry = applications / "org.lumivexis.Pelavor.desktop";
    const CShell::SResult validation = CShell::Run("desktop-file-validate " + CShell::Quote(entry));
    EXPECT_EQ(validation.m_Status, 0) << validation.m_Output;
    EXPECT_EQ(validation.m_Output, "") << "desktop-file-validate warns";

    const std::string text = ReadText(entry);
    EXPECT_EQ(ValueAfter(text, "\nExec=", '\n'), "Pelavor %f");
    EXPECT_TRUE(IsExecutable(Installed(&CF::m_Programs) / "Pelavor"));
    const path icon = Usr() / "share/icons/hicolor/scalable/apps" / (ValueAfter(text, "\nIcon=", '\n') + ".svg");
    const CShell::SResult iconCheck = CShell::Run("xmllint --noout " + CShell::Quote(icon));
    EXPECT_EQ(iconCheck.m_Status, 0) << icon << ": " << iconCheck.m_Output;

    // The desktop's own index of which program opens which type.
    const std::string cache = CShell::Run("update-desktop-database " + CShell::Quote(applications) + " && cat " +
                                          CShell::Quote(applications / "mimeinfo.cache"))
                                  .m_Output;
    EXPECT_NE(cache.find("application/x-lumivexis-scene=org.lumivexis.Pelavor.desktop;"), std::string::npos) << cache;
}

TEST_F(InstalledTree, ScenesAreKnownByTheirNameAndTheirFirstBytes) {
    const path mime = Usr() / "share/mime";
    const path types = mime / "packages/lumivexis.xml";
    const path icons = Usr() / "share/icons/hicolor/scalable";
    const CShell::SResult wellFormed =
        CShell::Run("xmllint --noout " + CShell::Quote(types) + " " +
                    CShell::Quote(icons / "mimetypes/application-x-lumivexis-scene.svg"));
    EXPECT_EQ(wellFormed.m_Status, 0) << wellFormed.m_Output;

    // The database the desktop builds from it, with no complaint.
    const CShell::SResult database = CShell::Run("XDG_DATA_DIRS=" + CShell::Quote(mime.parent_path()) +
                                                 " update-mime-database " + CShell::Quote(mime));
    EXPECT_EQ(database.m_Status, 0) << database.m_Output;
    EXPECT_EQ(database.m_Output, "");
    EXPECT_NE(ReadText(mime / "globs2").find(":application/x-lumivexis-scene:*.bgs"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(icons / "mimetypes/application-x-lumivexis-scene.svg"));

    // The content rule matches a real scene: the installed demo.
    const std::string xml = ReadText(types);
    const std::string value = ValueAfter(xml, "value=\"", '"');
    const size_t offset = std::stoul(ValueAfter(xml, "offset=\"", '"'));
    ASSERT_FALSE(value.empty());
    EXPECT_EQ(ReadText(Installed(&CF::m_Data) / "media/demo/demo.bgs").substr(offset, value.size()), value);
}

TEST_F(InstalledTree, TheInstalledProgramsRunWithoutTheBuildTree) {
    std::vector<path> programs{Installed(&CF::m_Programs) / "lumivexis",
                               Installed(&CF::m_Player) / CInstallLayout::kPlayerName};
    const CShell::SResult tool = CShell::Run("env -u LD_LIBRARY_PATH " + CShell::Quote(programs[0]) + " --version");
    EXPECT_EQ(tool.m_Status, 0) << tool.m_Output;
    EXPECT_NE(tool.m_Output.find("lumivexis " LVX_ENGINE_VERSION), std::string::npos) << tool.m_Output;
    if (LVX_HAS_EDITOR) {
        programs.push_back(Installed(&CF::m_Programs) / "Pelavor");
        const CShell::SResult editor = CShell::Run("env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen " +
                                                   CShell::Quote(programs.back()) + " --version");
        EXPECT_EQ(editor.m_Status, 0) << editor.m_Output;
        EXPECT_NE(editor.m_Output.find("0.3.5"), std::string::npos) << editor.m_Output;
    }
    for (const path& program : programs) {
        const std::string dynamic = CShell::Run("readelf -d " + CShell::Quote(program)).m_Output;
        EXPECT_EQ(dynamic.find(LVX_BUILD_DIR), std::string::npos) << program << " looks into the build tree";
    }
}

TEST_F(InstalledTree, TheInstalledProgramsFindTheInstalledPlayerAndSharedFiles) {
    const path player = Installed(&CF::m_Player) / CInstallLayout::kPlayerName;
    const path data = Installed(&CF::m_Data);
    // The editor (its Save a Package, its help) and the tool.
    const CInstallLayout program = LayoutOf(Installed(&CF::m_Programs));
    EXPECT_EQ(program.Player(), player);
    EXPECT_EQ(program.Find("media/help"), data / "media/help");
    EXPECT_EQ(program.Find("installer"), data / "installer");
    // The player and a host of the library, for the default font.
    EXPECT_EQ(LayoutOf(player.parent_path()).Find("media/fonts/arial.bnf"), data / "media/fonts/arial.bnf");
    EXPECT_EQ(LayoutOf(Installed(&CF::m_Library)).Find("media/fonts/arial.bnf"), data / "media/fonts/arial.bnf");

    // The installed tool packs with the installed player in front.
    const path packed = s_Stage->Root() / "demo.scr";
    const CShell::SResult pack = CShell::Run("cd " + CShell::Quote(s_Stage->Root()) + " && " +
                                             CShell::Quote(Installed(&CF::m_Programs) / "lumivexis") + " pack " +
                                             CShell::Quote(data / "media/demo/demo.bgs") + " " + CShell::Quote(packed));
    ASSERT_EQ(pack.m_Status, 0) << pack.m_Output;
    const std::string playerImage = ReadText(player);
    EXPECT_EQ(ReadText(packed).substr(0, playerImage.size()), playerImage);
}

TEST_F(InstalledTree, ProgramsBuildOnTheInstalledEngine) {
    const path host = s_Stage->Root() / "SceneHost";
    const std::string pkgConfig = "PKG_CONFIG_PATH=" + CShell::Quote(Installed(&CF::m_Library) / "pkgconfig") +
                                  " pkg-config --cflags --libs lumivexis";
    const CShell::SResult build =
        CShell::Run(CShell::Quote(LVX_CXX) + " -std=c++20 " LVX_HOST_FLAGS " " + CShell::Quote(LVX_HOST_SOURCE) +
                    " -o " + CShell::Quote(host) + " $(" + pkgConfig + ")");
    ASSERT_EQ(build.m_Status, 0) << build.m_Output;

    const CShell::SResult run =
        CShell::Run("LD_LIBRARY_PATH=" + CShell::Quote(Installed(&CF::m_Library)) + " " + CShell::Quote(host) + " " +
                    CShell::Quote(Installed(&CF::m_Data) / "media/demo/demo.bgs"));
    EXPECT_EQ(run.m_Status, 0) << run.m_Output;
    EXPECT_NE(run.m_Output.find(" objects"), std::string::npos) << run.m_Output;
}
