#include <gtest/gtest.h>

#include "CPlayerOptions.h"

namespace {

bool Parse(const std::vector<std::string>& arguments, SPlayerOptions& options, const char* environment = nullptr) {
    std::string error;
    return CPlayerOptions::Parse(arguments, environment, options, error);
}

std::string ErrorOf(const std::vector<std::string>& arguments, const char* environment = nullptr) {
    SPlayerOptions options;
    std::string error;
    EXPECT_FALSE(CPlayerOptions::Parse(arguments, environment, options, error));
    return error;
}

}  // namespace

TEST(PlayerOptions, WindowIdsAreHexadecimalOrDecimalX11Ids) {
    unsigned long id = 0;
    EXPECT_TRUE(CPlayerOptions::ParseWindowId("0x2a00007", id));
    EXPECT_EQ(id, 0x2a00007ul);
    EXPECT_TRUE(CPlayerOptions::ParseWindowId("0X1F", id));
    EXPECT_EQ(id, 0x1Ful);
    EXPECT_TRUE(CPlayerOptions::ParseWindowId("44040199", id));
    EXPECT_EQ(id, 44040199ul);
    for (const char* bad :
         {"", "0", "0x", "0x0", "12ab", "-5", " 0x10", "0x1 ", "0x100000000", "99999999999999999999"}) {
        EXPECT_FALSE(CPlayerOptions::ParseWindowId(bad, id)) << bad;
    }
}

TEST(PlayerOptions, TheWindowComesFromWindowIdThenTheEnvironmentThenRoot) {
    SPlayerOptions options;
    ASSERT_TRUE(Parse({}, options));
    EXPECT_EQ(options.target, TOutputTarget::OwnWindow);
    EXPECT_TRUE(options.scenePath.empty());

    // A set XSCREENSAVER_WINDOW counts even without any argument.
    ASSERT_TRUE(Parse({}, options, "0x400001"));
    EXPECT_EQ(options.target, TOutputTarget::WindowId);
    EXPECT_EQ(options.windowId, 0x400001ul);

    ASSERT_TRUE(Parse({"-window-id", "0x500002"}, options, "0x400001"));
    EXPECT_EQ(options.target, TOutputTarget::WindowId);
    EXPECT_EQ(options.windowId, 0x500002ul);

    ASSERT_TRUE(Parse({"--window-id=1234"}, options));
    EXPECT_EQ(options.windowId, 1234ul);

    // With --root the daemon's variable names its virtual root.
    ASSERT_TRUE(Parse({"-root"}, options, "0x400001"));
    EXPECT_EQ(options.target, TOutputTarget::WindowId);
    EXPECT_EQ(options.windowId, 0x400001ul);
    ASSERT_TRUE(Parse({"--root"}, options));
    EXPECT_EQ(options.target, TOutputTarget::Root);
    ASSERT_TRUE(Parse({"--root"}, options, ""));
    EXPECT_EQ(options.target, TOutputTarget::Root);
}

TEST(PlayerOptions, ActionsSceneAndAutomation) {
    SPlayerOptions options;
    ASSERT_TRUE(Parse({"-c"}, options));
    EXPECT_EQ(options.action, TPlayerAction::Settings);
    ASSERT_TRUE(Parse({"--settings"}, options));
    EXPECT_EQ(options.action, TPlayerAction::Settings);
    ASSERT_TRUE(Parse({"--help"}, options));
    EXPECT_EQ(options.action, TPlayerAction::Help);
    ASSERT_TRUE(Parse({"-version"}, options));
    EXPECT_EQ(options.action, TPlayerAction::Version);

    ASSERT_TRUE(Parse({"scene.bgs", "--frames", "3", "--screenshot", "out.png", "--windowed"}, options));
    EXPECT_EQ(options.action, TPlayerAction::Play);
    EXPECT_EQ(options.scenePath, "scene.bgs");
    EXPECT_EQ(options.frames, 3);
    EXPECT_EQ(options.screenshotPath, "out.png");
    EXPECT_EQ(options.window, TWindowOverride::Windowed);

    // A screenshot alone is one frame; "--" lets a file start with a dash.
    ASSERT_TRUE(Parse({"-screenshot=a.png", "--fullscreen", "--", "-odd.bgs"}, options));
    EXPECT_EQ(options.frames, 1);
    EXPECT_EQ(options.window, TWindowOverride::Fullscreen);
    EXPECT_EQ(options.scenePath, "-odd.bgs");
}

TEST(PlayerOptions, UsageErrorsSayWhatIsWrong) {
    EXPECT_NE(ErrorOf({"--window-id"}).find("needs a value"), std::string::npos);
    EXPECT_NE(ErrorOf({"--window-id", "abc"}).find("X window id"), std::string::npos);
    EXPECT_NE(ErrorOf({"--frames", "0"}).find("--frames"), std::string::npos);
    EXPECT_NE(ErrorOf({"--frames", "2x"}).find("--frames"), std::string::npos);
    EXPECT_NE(ErrorOf({"--screenshot="}).find("file name"), std::string::npos);
    EXPECT_NE(ErrorOf({"--bogus"}).find("unknown option"), std::string::npos);
    EXPECT_NE(ErrorOf({"a.bgs", "b.bgs"}).find("only one scene"), std::string::npos);
    EXPECT_NE(ErrorOf({}, "garbage").find("XSCREENSAVER_WINDOW"), std::string::npos);
}
