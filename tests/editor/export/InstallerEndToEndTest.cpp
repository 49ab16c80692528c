// The whole way of a screensaver with installer: exported with the shipped
// template (makeself builds "<name>.run"), installed by a user into a
// scratch home, installed once more, played, and removed without a trace.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ExportTestSupport.h"
#include "player/common/ChildProcess.h"
#include "player/common/PngImage.h"

using exporttest::Q;
using exporttest::ReadFile;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

// The file as xscreensaver writes it: "programs:" ending in a backslash,
// one program a line.
const std::string kXScreenSaverFile =
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:10:00\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t     maze -root\t\t\t\t    \\n\\\n"
    "  GL: \t\t     superquadrics -root\t\t\t    \\n\\\n"
    "\n"
    "pointerHysteresis:\t10\n";

// Every path below `root`, relative, sorted.
std::vector<std::string> Tree(const std::filesystem::path& root) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        paths.push_back(std::filesystem::relative(entry.path(), root).string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class InstallerEndToEnd : public exporttest::ExportTest {
protected:
    void SetUp() override {
        ExportTest::SetUp();
        for (const char* name : {"screensaver.sh.in", "install.sh"}) {
            std::filesystem::copy_file(exporttest::kBin + "/installer/" + name, m_installer.Path(name));
        }
        std::filesystem::create_directory(Home());
        m_installer.Write("home/.xscreensaver", kXScreenSaverFile);
    }

    std::string Home() const { return m_installer.Path("home"); }

    // The user's programs run with the scratch home, the default data
    // folder and no display.
    lvxtest::SChildResult RunAsUser(const std::vector<std::string>& argv) const {
        return lvxtest::RunChild(argv,
                                 {{"HOME", Home()},
                                  {"XDG_DATA_HOME", std::nullopt},
                                  {"XDG_STATE_HOME", m_installer.Path("state")},
                                  {"XDG_CONFIG_HOME", m_installer.Path("config")},
                                  {"DISPLAY", std::nullopt},
                                  {"WAYLAND_DISPLAY", std::nullopt},
                                  {"XSCREENSAVER_WINDOW", std::nullopt},
                                  {"SDL_AUDIODRIVER", "dummy"}},
                                 std::chrono::seconds(180));
    }
    // --user: the tests may run as root, whose install would otherwise go
    // to /usr/local.
    lvxtest::SChildResult Installer(const std::vector<std::string>& arguments) const {
        std::vector<std::string> argv = {"/bin/sh", m_out.Path("Night Sky.run"), "--"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        argv.push_back("--user");
        return RunAsUser(argv);
    }
};

}  // namespace

TEST_F(InstallerEndToEnd, TheInstallerInstallsPlaysAndRemovesTheScreensaver) {
    SExportRequest request;
    request.chosenPath = Q(m_out.Path("Night Sky.exe"));
    request.installer = true;
    request.installerName = "Night \"Sky\" $HOME";
    request.installerFolder = Q(m_installer.Root().string());
    const exporttest::SRunResult exported = exporttest::RunExport(m_document.Scene(), request);
    ASSERT_TRUE(exported.succeeded) << exported.Texts().join('\n').toStdString() << "\n"
                                    << ReadFile(m_installer.Path("log.txt"));
    EXPECT_THAT(m_out.Entries(), ElementsAre("Night Sky.run"));
    EXPECT_FALSE(std::filesystem::exists(m_installer.Path("screensaver_current.sh")));

    // Installed twice: the second install replaces the first.
    lvxtest::SChildResult run = Installer({});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_THAT(run.out, HasSubstr("Night \"Sky\" $HOME"));
    run = Installer({});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

    const std::string program = Home() + "/.local/bin/Night Sky.scr";
    struct stat status {};
    ASSERT_EQ(stat(program.c_str(), &status), 0);
    EXPECT_NE(status.st_mode & S_IXUSR, 0u);
    EXPECT_NE(status.st_mode & S_IXOTH, 0u);

    // One entry at the top of xscreensaver's list, marked as an OpenGL saver.
    const std::string entry = "  GL: \"Night Sky $HOME\" '" + program + "' -root \\n\\\n";
    std::string expected = kXScreenSaverFile;
    expected.insert(expected.find("\t\t     maze"), entry);
    EXPECT_EQ(ReadFile(Home() + "/.xscreensaver"), expected);

    const std::string desktop =
        ReadFile(Home() + "/.local/share/applications/screensavers/lumivexis-Night-Sky.desktop");
    EXPECT_THAT(desktop, HasSubstr("[Desktop Entry]\nType=Application\n"));
    EXPECT_THAT(desktop, HasSubstr("\nName=Night \"Sky\" $HOME\n"));
    EXPECT_THAT(desktop, HasSubstr("\nTryExec=" + program + "\n"));
    EXPECT_THAT(desktop, HasSubstr("\nExec=\"" + program + "\" -root\n"));
    EXPECT_THAT(desktop, HasSubstr("\nCategories=Screensaver;\n"));
    EXPECT_TRUE(std::filesystem::exists(Home() + "/.local/share/lumivexis/Night Sky.scr/installed-files"));

    // The installed program plays the scene by itself: a screensaver at the
    // desktop's resolution draws 640 x 480 without a display.
    const std::string shot = m_installer.Path("shot.png");
    run = RunAsUser({program, "--frames", "3", "--screenshot", shot});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    lvxtest::SImage image;
    ASSERT_TRUE(lvxtest::ReadPng(shot, image));
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 480);

    run = Installer({"--uninstall"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_THAT(Tree(Home()), ElementsAre(".xscreensaver"));
    EXPECT_EQ(ReadFile(Home() + "/.xscreensaver"), kXScreenSaverFile);
    // Once removed, there is nothing more to remove.
    EXPECT_NE(Installer({"--uninstall"}).exitCode, 0);
}
