#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "CClampedClock.h"
#include "CPlayerSettings.h"
#include "CRunDirectory.h"
#include "support/CTempFolder.h"

TEST(ClampedClock, ALongGapIsSkippedSoTheSceneGoesOnWhereItStopped) {
    double raw = 100.0;
    CClampedClock clock(0.25, [&raw] { return raw; });
    const double start = clock.Now();
    raw += 0.1;
    EXPECT_NEAR(clock.Now() - start, 0.1, 1e-9);
    // Stopped for five minutes (SIGSTOP): only the limit counts.
    raw += 300.0;
    EXPECT_NEAR(clock.Now() - start, 0.35, 1e-9);
    raw += 0.02;
    EXPECT_NEAR(clock.Now() - start, 0.37, 1e-9);
    EXPECT_NEAR(clock.Skipped(), 299.75, 1e-9);
    // The real clock by default, never going back.
    CClampedClock real;
    const double a = real.Now();
    EXPECT_GE(real.Now(), a);
}

TEST(PlayerSettings, SavedValuesComeBackAndBadLinesAreIgnored) {
    const CTempFolder folder;
    const std::string path = folder.Path("lumivexis/player.conf");
    EXPECT_FALSE(CPlayerSettings::Load(path).has_value());

    SPlayerSettings saved;
    saved.resolution = RES_1280_1024;
    saved.colorDepth = 0;
    saved.fullscreen = true;
    saved.showInfo = false;
    std::string error;
    ASSERT_TRUE(CPlayerSettings::Save(path, saved, error)) << error;
    auto loaded = CPlayerSettings::Load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->resolution, RES_1280_1024);
    EXPECT_EQ(loaded->colorDepth, 0);
    EXPECT_TRUE(loaded->fullscreen);
    EXPECT_FALSE(loaded->showInfo);

    std::ofstream(path) << "resolution=9\ncolordepth=-1\nshowinfo=0\nnonsense\nfullscreen=yes\n";
    loaded = CPlayerSettings::Load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->resolution, RES_640_480);
    EXPECT_EQ(loaded->colorDepth, 1);
    EXPECT_FALSE(loaded->showInfo);
    EXPECT_FALSE(loaded->fullscreen);

    EXPECT_FALSE(CPlayerSettings::Save("", saved, error));
}

TEST(RunDirectory, StateFolderFollowsXdgAndPathsBecomeAbsolute) {
    const char* previous = std::getenv("XDG_STATE_HOME");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("XDG_STATE_HOME", "/tmp/lvx-state-test", 1);
    EXPECT_EQ(CRunDirectory::StateDirectory(), "/tmp/lvx-state-test/lumivexis");
    // A relative XDG value is ignored, as the XDG rules say.
    setenv("XDG_STATE_HOME", "relative", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(CRunDirectory::StateDirectory(), "/home/someone/.local/state/lumivexis");
    if (previous != nullptr) {
        setenv("XDG_STATE_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_STATE_HOME");
    }
    EXPECT_EQ(CRunDirectory::Absolute("/a/b/../c.bgs"), "/a/c.bgs");
    EXPECT_EQ(CRunDirectory::Absolute("-"), "-");
    EXPECT_EQ(CRunDirectory::Absolute("x.bgs").front(), '/');
}
