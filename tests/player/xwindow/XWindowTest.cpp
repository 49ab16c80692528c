#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>

#include <algorithm>
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

std::string Hex(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

// A daemon's stand-in: an X connection with one mapped window.
class XWindowPlayer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Below the build's folder, not the temporary one: the packed programs
        // run from here.
        s_scratch = std::make_unique<CTempFolder>(std::filesystem::current_path());
        s_folder = s_scratch->Root().string();
        ASSERT_TRUE(lvxtest::WriteRedBoxScene(s_folder + "/box.bgs"));
        const lvxtest::SChildResult packed =
            lvxtest::RunChild({kBin + "/lumivexis", "pack", s_folder + "/box.bgs", s_folder + "/box.scr"},
                              {{"XDG_STATE_HOME", s_folder + "/state"}});
        ASSERT_EQ(packed.exitCode, 0) << packed.err;
    }
    static void TearDownTestSuite() { s_scratch.reset(); }

    void SetUp() override {
        m_display = XOpenDisplay(nullptr);
        ASSERT_NE(m_display, nullptr) << "no X server (run through run-in-xvfb.sh)";
        const int screen = DefaultScreen(m_display);
        m_window = XCreateSimpleWindow(m_display, RootWindow(m_display, screen), 10, 10, 320, 240, 0, 0,
                                       WhitePixel(m_display, screen));
        // Keys and buttons belong to the daemon; only it may select them.
        XSelectInput(m_display, m_window, KeyPressMask | ButtonPressMask | ExposureMask);
        XMapWindow(m_display, m_window);
        XSync(m_display, False);
    }
    void TearDown() override {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }

    std::map<std::string, std::optional<std::string>> Environment(const std::optional<std::string>& window) const {
        return {{"XSCREENSAVER_WINDOW", window},
                {"XDG_STATE_HOME", s_folder + "/state"},
                {"XDG_CONFIG_HOME", s_folder + "/config"},
                {"SDL_AUDIODRIVER", "dummy"}};
    }

    unsigned long PixelAt(int x, int y) {
        XImage* image = XGetImage(m_display, m_window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return 0;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return pixel;
    }

    // Waits until the middle of the window is red (the box).
    bool WaitForTheBox(int x = 160, int y = 120) {
        for (int i = 0; i < 300; ++i) {
            if (lvxtest::IsReddish(static_cast<std::uint32_t>(PixelAt(x, y))))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    Display* m_display = nullptr;
    Window m_window = 0;
    static std::unique_ptr<CTempFolder> s_scratch;
    static std::string s_folder;
};

std::unique_ptr<CTempFolder> XWindowPlayer::s_scratch;
std::string XWindowPlayer::s_folder;

}  // namespace

TEST_F(XWindowPlayer, DrawsTheSceneIntoTheWindowNamedByXscreensaverWindow) {
    // The packed file alone, as xscreensaver 6 runs a hack: no arguments.
    lvxtest::CChild player({s_folder + "/box.scr"}, Environment(Hex(m_window)));
    ASSERT_TRUE(player.Started());
    ASSERT_TRUE(WaitForTheBox()) << std::hex << PixelAt(160, 120);
    EXPECT_TRUE(lvxtest::IsBlue(static_cast<std::uint32_t>(PixelAt(5, 235)))) << std::hex << PixelAt(5, 235);

    // Nothing was resized, moved or taken from the daemon.
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(m_display, m_window, &root, &x, &y, &width, &height, &border, &depth);
    EXPECT_EQ(width, 320u);
    EXPECT_EQ(height, 240u);
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_display, m_window, &attributes);
    EXPECT_EQ(attributes.map_state, IsViewable);

    player.Signal(SIGTERM);
    const lvxtest::SChildResult result = player.Wait(std::chrono::seconds(10));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(XWindowPlayer, AVanishingWindowEndsTheRunQuietly) {
    auto environment = Environment(std::nullopt);
    // Mesa's X11 swap path leaves an X error it received for the destroyed
    // window queued in libxcb, which a sanitizer build reports as a leak.
    environment["ASAN_OPTIONS"] = "detect_leaks=0";
    lvxtest::CChild player({s_folder + "/box.scr", "-window-id", std::to_string(m_window)}, environment);
    ASSERT_TRUE(player.Started());
    ASSERT_TRUE(WaitForTheBox());
    XDestroyWindow(m_display, m_window);
    XSync(m_display, False);
    const lvxtest::SChildResult result = player.Wait(std::chrono::seconds(10));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
}

TEST_F(XWindowPlayer, AWindowThatDoesNotExistIsReported) {
    const lvxtest::SChildResult result =
        lvxtest::RunChild({kBin + "/ScreenSaver.dat", s_folder + "/box.bgs", "--window-id", "0x7ffffff"},
                          Environment(std::nullopt), std::chrono::seconds(30));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("does not exist"), std::string::npos) << result.err;
}

TEST_F(XWindowPlayer, AWindowThatItsOwnerResizesIsFilledAtItsNewSize) {
    // xscreensaver-settings' preview pane, or a screen that changes its size.
    lvxtest::CChild player({s_folder + "/box.scr", "--window-id", Hex(m_window)}, Environment(std::nullopt));
    ASSERT_TRUE(player.Started());
    ASSERT_TRUE(WaitForTheBox());

    constexpr int kWidth = 640, kHeight = 400;
    XResizeWindow(m_display, m_window, kWidth, kHeight);
    XSync(m_display, False);
    ASSERT_TRUE(WaitForTheBox(kWidth / 2, kHeight / 2)) << "the picture stayed at its first size";
    // A frame or two more, so that no frame of the old size is read.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    const lvxtest::SRedBoxExtent box = lvxtest::MeasureRedBox(m_display, m_window, kWidth, kHeight);
    // The box in the middle of the new size, and as wide as it is tall: the
    // projection took the window's new aspect.
    lvxtest::ExpectCentredSquareBox(box, kWidth, kHeight);

    player.Signal(SIGTERM);
    const lvxtest::SChildResult result = player.Wait(std::chrono::seconds(10));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(XWindowPlayer, StartUpErrorsInADaemonsWindowGoToStderrOnly) {
    // A scene whose records are garbage: the reader reports it. No box may
    // wait for a click in a daemon's window: the player ends by itself.
    std::ifstream in(s_folder + "/box.bgs", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The header and the 122-byte trailer stay intact: the probe accepts it.
    for (size_t i = 40; i < bytes.size() - 122; i += 7)
        bytes[i] = static_cast<char>(0xFF);
    std::ofstream(s_folder + "/garbled.bgs", std::ios::binary) << bytes;
    const lvxtest::SChildResult result = lvxtest::RunChild({kBin + "/ScreenSaver.dat", s_folder + "/garbled.bgs"},
                                                           Environment(Hex(m_window)), std::chrono::seconds(30));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.empty());
}
