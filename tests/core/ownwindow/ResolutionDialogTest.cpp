// The screen's settings dialog: what the user confirms becomes the screen's
// resolution, colour depth, full-screen and logo settings; what the user
// drops changes nothing.
#include <gtest/gtest.h>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "support/CDialogScript.h"

namespace {

// Runs the screen's dialog with the script and checks that it stayed open
// until the script's last key.
void RunScreenDialog(CDialogScript& script) {
    CSettingsDialog::SetDefaultFrameObserver(script.Observer());
    CScreen::Instance().DisplayResolutionDlg();
    CSettingsDialog::SetDefaultFrameObserver(nullptr);
    EXPECT_TRUE(script.Done()) << "the dialog ended before the script did (no window?)";
}

}  // namespace

TEST(ResolutionDialog, ConfirmedChoicesReachTheScreenAndDroppedOnesDoNot) {
    CTempFolder::EnterPrivateWorkingFolder();
    CScreen& screen = CScreen::Instance();
    screen.SetResolution(RES_1024_768);
    screen.SetColorDepth(1);
    screen.SetFullscreen(true);
    screen.ViewInfo(false);

    // Focus starts on "640 x 480": Down moves it to "800 x 600", Space
    // selects it, Escape drops the change.
    CDialogScript dropped({{3, SDL_SCANCODE_DOWN}, {8, SDL_SCANCODE_SPACE}, {13, SDL_SCANCODE_ESCAPE}});
    RunScreenDialog(dropped);
    EXPECT_EQ(dropped.Title(), "Lumivexis settings");
    EXPECT_EQ(screen.GetResolution(), RES_1024_768);

    // The same choice confirmed with Enter; the other settings come back
    // as they went in.
    CDialogScript confirmed({{3, SDL_SCANCODE_DOWN}, {8, SDL_SCANCODE_SPACE}, {13, SDL_SCANCODE_RETURN}});
    RunScreenDialog(confirmed);
    EXPECT_EQ(screen.GetResolution(), RES_800_600);
    EXPECT_EQ(screen.GetColorDepth(), 1);
    EXPECT_TRUE(screen.GetFullscreen());
    EXPECT_FALSE(screen.GetViewInfo());

    screen.SetFullscreen(false);
    screen.SetResolution(RES_640_480);
    screen.ViewInfo(true);
}
