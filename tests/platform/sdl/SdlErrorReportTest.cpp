// The player's error reports: an SDL message box, or stderr when no box can
// be shown (no display; on X11 also no core fonts for SDL's box).
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/SdlErrorReport.h"

namespace {

class SdlErrorReportTest : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(SdlErrorReportTest, WithoutADisplayTheTextGoesToStderr) {
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            InstallSdlErrorReportHandler("ScreenSaver");
            ReportError("Unable to initialize the 3D Window. Leaving.", "", ErrorIcon::Error);
            ReportError("No music", "Warning", ErrorIcon::Warning);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "ScreenSaver: Unable to initialize the 3D Window. Leaving.\nWarning: No music");
}

}  // namespace
