#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "common/ChildProcess.h"
#include "common/PngImage.h"
#include "common/TestScenes.h"
#include "support/CTempFolder.h"

namespace {

const std::string kBin = LVX_BIN_DIR;

// A folder of this test process's own, with the scene packed into a
// stand-alone screensaver.
class PackedPlayer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Below the build's folder, not the temporary one: the packed programs
        // run from here.
        s_scratch = std::make_unique<CTempFolder>(std::filesystem::current_path());
        s_folder = s_scratch->Root().string();
        ASSERT_TRUE(lvxtest::WriteRedBoxScene(s_folder + "/box.bgs"));
        const lvxtest::SChildResult packed =
            Run({kBin + "/lumivexis", "pack", s_folder + "/box.bgs", s_folder + "/box.scr"});
        ASSERT_EQ(packed.exitCode, 0) << packed.err;
    }
    static void TearDownTestSuite() { s_scratch.reset(); }

    // Children run without a display, with their state in the test folder.
    static std::map<std::string, std::optional<std::string>> Environment() {
        return {{"DISPLAY", std::nullopt},
                {"WAYLAND_DISPLAY", std::nullopt},
                {"XSCREENSAVER_WINDOW", std::nullopt},
                {"HOME", s_folder},
                {"XDG_STATE_HOME", s_folder + "/state"},
                {"XDG_CONFIG_HOME", s_folder + "/config"},
                {"SDL_AUDIODRIVER", "dummy"}};
    }
    static lvxtest::SChildResult Run(const std::vector<std::string>& argv) {
        return lvxtest::RunChild(argv, Environment(), std::chrono::seconds(90));
    }
    static std::string Path(const std::string& name) { return s_folder + "/" + name; }

    static std::unique_ptr<CTempFolder> s_scratch;
    static std::string s_folder;
};

std::unique_ptr<CTempFolder> PackedPlayer::s_scratch;
std::string PackedPlayer::s_folder;

}  // namespace

TEST_F(PackedPlayer, APackedFilePlaysByItselfAndShowsTheScene) {
    // Packed: executable, the player in front of the scene.
    struct stat status {};
    ASSERT_EQ(stat(Path("box.scr").c_str(), &status), 0);
    EXPECT_NE(status.st_mode & S_IXUSR, 0u);
    EXPECT_GT(status.st_size, std::filesystem::file_size(kBin + "/ScreenSaver.dat"));

    // Under another name, from another folder: it reads itself through /proc.
    std::filesystem::copy_file(Path("box.scr"), Path("renamed saver"));
    std::filesystem::permissions(Path("renamed saver"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const lvxtest::SChildResult run = Run({Path("renamed saver"), "--frames", "3", "--screenshot", Path("shot.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    lvxtest::SImage shot;
    ASSERT_TRUE(lvxtest::ReadPng(Path("shot.png"), shot));
    // A screensaver at the desktop's resolution draws 640 x 480 off screen.
    EXPECT_EQ(shot.width, 640);
    EXPECT_EQ(shot.height, 480);
    EXPECT_TRUE(lvxtest::IsReddish(shot.At(320, 240))) << std::hex << shot.At(320, 240);
    EXPECT_TRUE(lvxtest::IsBlue(shot.At(20, 460))) << std::hex << shot.At(20, 460);
    // The engine's log went to the state folder, not to the current one.
    EXPECT_TRUE(std::filesystem::exists(Path("state/lumivexis/log.txt")));
}

TEST_F(PackedPlayer, APlainSceneFilePlaysByPathAtItsOwnResolution) {
    const lvxtest::SChildResult run = Run({kBin + "/lumivexis", "pack", Path("box.bgs"), Path("window.run"),
                                           "--executable", "--resolution", "2", "--windowed", "--title", "Box"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const lvxtest::SChildResult played =
        Run({kBin + "/ScreenSaver.dat", Path("window.run"), "--screenshot", Path("window.png")});
    ASSERT_EQ(played.exitCode, 0) << played.err;
    lvxtest::SImage shot;
    ASSERT_TRUE(lvxtest::ReadPng(Path("window.png"), shot));
    EXPECT_EQ(shot.width, 800);
    EXPECT_EQ(shot.height, 600);
    EXPECT_TRUE(lvxtest::IsReddish(shot.At(400, 300)));
}

TEST_F(PackedPlayer, ForeignDamagedAndMissingScenesFailWithAMessage) {
    // The bare player has nothing packed into it: usage, exit status 2.
    lvxtest::SChildResult run = Run({kBin + "/ScreenSaver.dat"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("Usage:"), std::string::npos);

    std::ofstream(Path("notes.txt")) << "just some text, no scene\n";
    run = Run({kBin + "/ScreenSaver.dat", Path("notes.txt"), "--frames", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("not a Lumivexis scene"), std::string::npos) << run.err;

    run = Run({kBin + "/ScreenSaver.dat", Path("missing.bgs"), "--frames", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot read"), std::string::npos) << run.err;

    // A package whose scene data was cut short: the trailer no longer fits.
    std::ifstream in(Path("box.scr"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string trailer = bytes.substr(bytes.size() - 122);
    std::ofstream(Path("cut.scr"), std::ios::binary) << bytes.substr(bytes.size() - 122 - 200, 200) << trailer;
    run = Run({kBin + "/ScreenSaver.dat", Path("cut.scr"), "--frames", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("damaged"), std::string::npos) << run.err;

    // Scene data whose records are garbage: the reader's message, no crash.
    std::string garbled = bytes;
    const size_t dataStart = std::filesystem::file_size(kBin + "/ScreenSaver.dat");
    for (size_t i = dataStart + 40; i < garbled.size() - 122; i += 7)
        garbled[i] = static_cast<char>(0xFF);
    std::ofstream(Path("garbled.scr"), std::ios::binary) << garbled;
    run = Run({kBin + "/ScreenSaver.dat", Path("garbled.scr"), "--frames", "1"});
    EXPECT_EQ(run.signal, 0) << run.err;
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_FALSE(run.err.empty());

    run = Run({kBin + "/ScreenSaver.dat", "--frames", "x"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--frames"), std::string::npos);
}

TEST_F(PackedPlayer, SignalsEndAnEndlessRunPromptly) {
    for (int signal : {SIGTERM, SIGINT, SIGUSR1}) {
        lvxtest::CChild child({Path("box.scr"), "--frames", "9999999"}, Environment());
        ASSERT_TRUE(child.Started());
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        child.Signal(signal);
        const lvxtest::SChildResult result = child.Wait(std::chrono::seconds(10));
        EXPECT_FALSE(result.timedOut) << signal;
        EXPECT_EQ(result.signal, 0) << signal;
        EXPECT_EQ(result.exitCode, 0) << signal << ": " << result.err;
    }
}

TEST_F(PackedPlayer, AnExportWhoseAppendedSceneIsDamagedSaysSoUnderItsOwnName) {
    std::ifstream in(Path("box.scr"), std::ios::binary);
    const std::string intact((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t trailerStart = intact.size() - 122;
    const std::uint32_t length =
        static_cast<std::uint32_t>(intact.size() - std::filesystem::file_size(kBin + "/ScreenSaver.dat"));
    const auto withLength = [&](std::uint32_t value) {
        std::string bytes = intact;
        std::memcpy(&bytes[trailerStart + 10], &value, 4);
        return bytes;
    };
    std::string magic = intact;
    magic[trailerStart] = 'X';
    const std::pair<std::string, std::string> damaged[] = {{"cut.scr", intact.substr(0, intact.size() - 1)},
                                                           {"appended.scr", intact + std::string(10, '\0')},
                                                           {"magic.scr", magic},
                                                           {"short.scr", withLength(length - 1)},
                                                           {"long.scr", withLength(length + 1)}};
    for (const auto& [name, bytes] : damaged) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        ASSERT_EQ(chmod(Path(name).c_str(), 0755), 0);
        // Started as a saver is: by itself, without arguments.
        const lvxtest::SChildResult run = Run({Path(name)});
        EXPECT_EQ(run.exitCode, 1) << name << ": " << run.err;
        EXPECT_NE(run.err.find("\"" + Path(name) + "\": its packed scene is damaged"), std::string::npos)
            << name << ": " << run.err;
        EXPECT_EQ(run.err.find("/proc/self/exe"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Usage"), std::string::npos) << run.err;
    }
}

TEST_F(PackedPlayer, AScenePathThatIsNoRegularFileIsRefusedAtOnce) {
    // Nobody writes into the FIFO: opening it would wait for ever.
    ASSERT_EQ(mkfifo(Path("f.bgs").c_str(), 0600), 0);
    lvxtest::SChildResult run =
        lvxtest::RunChild({kBin + "/ScreenSaver.dat", "--frames", "1", "--screenshot", Path("o.png"), Path("f.bgs")},
                          Environment(), std::chrono::seconds(20));
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is not a regular file"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Path("o.png")));

    std::filesystem::create_directory(Path("folder.bgs"));
    run = Run({kBin + "/ScreenSaver.dat", "--frames", "1", Path("folder.bgs")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is a directory"), std::string::npos) << run.err;
}
