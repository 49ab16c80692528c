// The whole way of a screensaver with installer: exported with the shipped
// template (makeself builds "<name>.run"), installed by a user into a
// scratch home, installed once more, played, and removed without a trace;
// and a scene built as a user builds it, seen in the installed saver's
// picture.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "ExportTestSupport.h"
#include "common/SceneObjects.h"
#include "core/CScreen.h"
#include "document/CHeadlessEngine.h"
#include "objects/CBmpFonts.h"
#include "objects/CBoxObject.h"
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

// The way a user takes: a scene built in the editor (a plain background,
// fog, a box with two keys, a text), exported as a screensaver with its
// installer, installed into a scratch home and played there. The picture
// shows the near box in its own colour and the far one drawn into the fog.
TEST_F(InstallerEndToEnd, ASceneBuiltInTheEditorPlaysWithItsBoxAndItsFogOnceInstalled) {
    CHeadlessEngine engine(m_document.Scene());
    ASSERT_TRUE(engine.Start());
    m_document.NewScene();  // "Main Camera" at (0, 1, -10), looking along z
    CScreen& screen = CScreen::Instance();
    screen.SetBackgroundColor(D3DCOLORVALUE{0.0f, 0.0f, 0.5f, 1.0f});
    screen.EnableFog(true);
    screen.SetFogColor(D3DCOLORVALUE{0.75f, 0.75f, 0.75f, 1.0f});
    screen.SetFogStart(20.0f);
    screen.SetFogEnd(200.0f);
    // The second key of the near box keeps it in place for the first
    // seconds.
    const auto addRedBox = [this](const char* name, const D3DXVECTOR3& place, float size) -> CBoxObject& {
        CBoxObject& box = lvxtest::AddToScene<CBoxObject>(m_document, name);
        CSceneLock lock(m_document.Scene());
        box.SetSize(size, size, size);
        box.SetColor(D3DCOLORVALUE{0.9f, 0.1f, 0.1f, 1.0f}, 0);
        box.SetPosition(place);
        return box;
    };
    CBoxObject& box = addRedBox("Box", D3DXVECTOR3(-2.0f, 1.0f, 0.0f), 2.0f);
    {
        CSceneLock lock(m_document.Scene());
        box.SetCurrentKeyFrame(box.AddKeyFrame(10.0f));
        box.SetPosition(2.0f, 1.0f, 0.0f);
        box.SetCurrentKeyFrame(0);
    }
    ASSERT_EQ(box.GetKeyFrameNumber(), 2);
    addRedBox("Far box", D3DXVECTOR3(4.0f, 1.0f, 60.0f), 10.0f);
    CBmpFonts& text = lvxtest::AddToScene<CBmpFonts>(m_document, "Title");
    {
        CSceneLock lock(m_document.Scene());
        text.SetText("Night");
    }

    SExportRequest request;
    request.chosenPath = Q(m_out.Path("Night Sky.exe"));
    request.installer = true;
    request.installerName = "Night Sky";
    request.installerFolder = Q(m_installer.Root().string());
    const exporttest::SRunResult exported = exporttest::RunExport(m_document.Scene(), request);
    ASSERT_TRUE(exported.succeeded) << exported.Texts().join('\n').toStdString();
    engine.Stop();
    ASSERT_EQ(Installer({}).exitCode, 0);

    const std::string shot = m_installer.Path("scene.png");
    const lvxtest::SChildResult run =
        RunAsUser({Home() + "/.local/bin/Night Sky.scr", "--frames", "3", "--screenshot", shot});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::filesystem::path pictures = ScratchParent() / "screenshots";
    std::filesystem::create_directories(pictures);
    std::filesystem::copy_file(shot, pictures / "installed-saver-scene.png",
                               std::filesystem::copy_options::overwrite_existing);
    lvxtest::SImage image;
    ASSERT_TRUE(lvxtest::ReadPng(shot, image));
    int red = 0;
    int fogged = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = image.At(x, y);
            const int r = static_cast<int>((pixel >> 16) & 0xFFu);
            const int g = static_cast<int>((pixel >> 8) & 0xFFu);
            const int b = static_cast<int>(pixel & 0xFFu);
            // Lit from above, the boxes' faces show the ambient part of
            // their red; the far one is drawn a third of the way into the
            // grey fog, which lifts its green and blue alike.
            red += (r > 80 && g < 30 && b < 30) ? 1 : 0;
            fogged += (r > 80 && g >= 35 && g < r - 40 && std::abs(g - b) < 12) ? 1 : 0;
        }
    }
    EXPECT_GT(red, 300) << "the near box in its colour";
    EXPECT_GT(fogged, 100) << "the far box in the fog";
    EXPECT_EQ(Installer({"--uninstall"}).exitCode, 0);
}
