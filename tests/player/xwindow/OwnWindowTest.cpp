// The player's own window on an X server without a window manager (a bare
// Xvfb of 1280 x 1024 that offers no other mode): a resized window is drawn
// at its new size, a resolution the display lacks plays at the desktop's
// mode, and a signal ends the player even while a start-up error waits in a
// box.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "common/ChildProcess.h"
#include "common/PngImage.h"
#include "common/TestScenes.h"
#include "common/XRedBox.h"
#include "support/CTempFolder.h"

namespace {

const std::string kBin = LVX_BIN_DIR;

class OwnWindowPlayer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_scratch = std::make_unique<CTempFolder>(std::filesystem::current_path());
        s_folder = s_scratch->Root().string();
        ASSERT_TRUE(lvxtest::WriteRedBoxScene(s_folder + "/box.bgs"));
        // A screensaver made for a 1600 x 1200 monitor.
        ASSERT_EQ(Run({kBin + "/lumivexis", "pack", Path("box.bgs"), Path("big.scr"), "--resolution", "5"}).exitCode,
                  0);
    }
    static void TearDownTestSuite() { s_scratch.reset(); }

    void SetUp() override {
        m_display = XOpenDisplay(nullptr);
        ASSERT_NE(m_display, nullptr) << "no X server (run through run-in-xvfb.sh)";
        const Screen* screen = DefaultScreenOfDisplay(m_display);
        ASSERT_EQ(WidthOfScreen(screen), 1280);
        ASSERT_EQ(HeightOfScreen(screen), 1024);
    }
    void TearDown() override {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }

    static std::map<std::string, std::optional<std::string>> Environment() {
        return {{"XSCREENSAVER_WINDOW", std::nullopt},
                {"XDG_STATE_HOME", s_folder + "/state"},
                {"XDG_CONFIG_HOME", s_folder + "/config"},
                {"SDL_AUDIODRIVER", "dummy"}};
    }
    static lvxtest::SChildResult Run(const std::vector<std::string>& argv) {
        return lvxtest::RunChild(argv, Environment(), std::chrono::seconds(60));
    }
    static std::string Path(const std::string& name) { return s_folder + "/" + name; }

    // The player's window: without a window manager, the one top-level
    // window on the screen. 0 until it is mapped.
    Window PlayerWindow() {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count) == 0)
            return 0;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(m_display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                found = children[i];
        }
        if (children != nullptr)
            XFree(children);
        return found;
    }

    Display* m_display = nullptr;
    static std::unique_ptr<CTempFolder> s_scratch;
    static std::string s_folder;
};

std::unique_ptr<CTempFolder> OwnWindowPlayer::s_scratch;
std::string OwnWindowPlayer::s_folder;

}  // namespace

TEST_F(OwnWindowPlayer, AWindowThatIsResizedIsFilledAtItsNewSize) {
    lvxtest::CChild player({kBin + "/ScreenSaver.dat", "--windowed", Path("box.bgs")}, Environment());
    ASSERT_TRUE(player.Started());
    Window window = 0;
    for (int i = 0; i < 300 && window == 0; ++i) {
        window = PlayerWindow();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_NE(window, 0u);

    // As a tiling window manager (or the user) would.
    constexpr int kWidth = 720, kHeight = 300;
    XResizeWindow(m_display, window, kWidth, kHeight);
    XSync(m_display, False);
    lvxtest::SRedBoxExtent box;
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        box = lvxtest::MeasureRedBox(m_display, window, kWidth, kHeight);
        if (box.cornersBlue && std::abs(box.CentreX() - kWidth / 2.0) < 3.0)
            break;
    }
    lvxtest::ExpectCentredSquareBox(box, kWidth, kHeight);

    player.Signal(SIGTERM);
    const lvxtest::SChildResult result = player.Wait(std::chrono::seconds(10));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(OwnWindowPlayer, AResolutionTheDisplayLacksPlaysAtTheDesktopsMode) {
    const lvxtest::SChildResult run = Run({Path("big.scr"), "--frames", "3", "--screenshot", Path("big.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    lvxtest::SImage shot;
    ASSERT_TRUE(lvxtest::ReadPng(Path("big.png"), shot));
    EXPECT_EQ(shot.width, 1280);
    EXPECT_EQ(shot.height, 1024);
    EXPECT_TRUE(lvxtest::IsReddish(shot.At(640, 512))) << std::hex << shot.At(640, 512);
    EXPECT_TRUE(lvxtest::IsBlue(shot.At(1270, 10))) << std::hex << shot.At(1270, 10);
    std::ifstream log(Path("state/lumivexis/log.txt"));
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("No Valid Mode Found! Using the desktop's mode instead"), std::string::npos);
}

TEST_F(OwnWindowPlayer, ASignalEndsThePlayerWhileAStartUpErrorWaitsInABox) {
    // A scene whose records are garbage: played in a window of its own, the
    // reader's report opens a box that waits for a click.
    std::ifstream in(Path("box.bgs"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The header and the 122-byte trailer stay intact: the probe accepts it.
    for (size_t i = 40; i < bytes.size() - 122; i += 7)
        bytes[i] = static_cast<char>(0xFF);
    std::ofstream(Path("garbled.bgs"), std::ios::binary) << bytes;

    for (int signal : {SIGTERM, SIGINT, SIGUSR1}) {
        lvxtest::CChild player({kBin + "/ScreenSaver.dat", "--windowed", Path("garbled.bgs")}, Environment());
        ASSERT_TRUE(player.Started());
        std::this_thread::sleep_for(std::chrono::seconds(3));
        player.Signal(signal);
        const lvxtest::SChildResult result = player.Wait(std::chrono::seconds(10));
        EXPECT_FALSE(result.timedOut) << signal;
        EXPECT_EQ(result.exitCode, 128 + signal) << signal << ": " << result.err;
    }
}
