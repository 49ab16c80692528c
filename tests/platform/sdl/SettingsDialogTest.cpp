// The "Lumivexis settings" dialog: its decisions on their own, then the real
// dialog window driven by keys pushed into SDL's queue.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/sdl/CSettingsDialog.h"
#include "support/CDialogScript.h"

namespace {

bool operator==(const SDisplaySettings& a, const SDisplaySettings& b) {
    return a.resolution == b.resolution && a.colorDepth == b.colorDepth && a.fullscreen == b.fullscreen &&
           a.viewInfo == b.viewInfo;
}

const SDisplaySettings kStart{2, 1, false, true};

TEST(SettingsDialogModelTest, OkStoresEveryValue) {
    CSettingsDialogModel model(kStart);
    EXPECT_TRUE(model.Values() == kStart);
    model.SelectResolution(4);
    model.SelectColorDepth(0);
    model.SetFullscreen(true);
    model.SetViewInfo(false);
    EXPECT_FALSE(model.IsFinished());
    model.Accept();
    model.Cancel();  // the first button pressed ends the dialog
    EXPECT_TRUE(model.IsAccepted());

    SDisplaySettings target = kStart;
    EXPECT_TRUE(model.CommitTo(target));
    EXPECT_TRUE(target == (SDisplaySettings{4, 0, true, false}));
}

TEST(SettingsDialogModelTest, CancelKeepsTheOldValues) {
    CSettingsDialogModel model(kStart);
    model.SelectResolution(0);
    model.SetFullscreen(true);
    model.Cancel();
    model.Accept();
    EXPECT_TRUE(model.IsFinished());
    EXPECT_FALSE(model.IsAccepted());
    SDisplaySettings target = kStart;
    EXPECT_FALSE(model.CommitTo(target));
    EXPECT_TRUE(target == kStart);
}

TEST(SettingsDialogModelTest, RadioGroupsIgnoreIndicesOutsideTheirButtons) {
    CSettingsDialogModel model(kStart);
    model.SelectResolution(5);
    model.SelectResolution(-1);
    model.SelectColorDepth(2);
    EXPECT_EQ(model.Values().resolution, 2);
    EXPECT_EQ(model.Values().colorDepth, 1);
    // A stored value no button stands for survives OK untouched.
    CSettingsDialogModel odd(SDisplaySettings{7, 1, false, true});
    odd.Accept();
    SDisplaySettings target;
    ASSERT_TRUE(odd.CommitTo(target));
    EXPECT_EQ(target.resolution, 7);
    EXPECT_EQ(CSettingsDialogModel::kResolutionLabels[3], std::string("1280 x 1024"));
    EXPECT_EQ(CSettingsDialogModel::kColorLabels[0], std::string("16 bits"));
}

// Runs the dialog with the script; fails the test if the dialog ended
// before the script did or could not open.
bool RunDialog(SDisplaySettings& settings, const std::vector<ScriptedKey>& keys, bool close = false,
               std::string* title = nullptr) {
    CDialogScript script(keys, close);
    CSettingsDialog dialog;
    dialog.SetFrameObserver(script.Observer());
    std::string error;
    const bool accepted = dialog.Run(settings, &error);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_TRUE(script.Done()) << "the dialog ended before the script did";
    if (title)
        *title = script.Title();
    return accepted;
}

TEST(SettingsDialogTest, EnterAcceptsAndEscapeOrClosingCancels) {
    SDisplaySettings settings = kStart;
    std::string title;
    EXPECT_TRUE(RunDialog(settings, {{3, SDL_SCANCODE_RETURN}}, false, &title));
    EXPECT_EQ(title, "Lumivexis settings");
    EXPECT_TRUE(settings == kStart);

    EXPECT_FALSE(RunDialog(settings, {{3, SDL_SCANCODE_ESCAPE}}));
    EXPECT_FALSE(RunDialog(settings, {}, true));
    EXPECT_TRUE(settings == kStart);
}

TEST(SettingsDialogTest, KeyboardChangesReachTheSettingsOnOk) {
    // The keyboard focus starts on the first radio button ("640 x 480"):
    // Down moves it to "800 x 600", Space selects that, Enter confirms.
    SDisplaySettings settings = kStart;
    EXPECT_TRUE(RunDialog(settings, {{3, SDL_SCANCODE_DOWN}, {8, SDL_SCANCODE_SPACE}, {13, SDL_SCANCODE_RETURN}}));
    EXPECT_EQ(settings.resolution, 1);
    EXPECT_EQ(settings.colorDepth, kStart.colorDepth);

    // The same change dropped with Escape.
    settings = kStart;
    EXPECT_FALSE(RunDialog(settings, {{3, SDL_SCANCODE_DOWN}, {8, SDL_SCANCODE_SPACE}, {13, SDL_SCANCODE_ESCAPE}}));
    EXPECT_TRUE(settings == kStart);
}

}  // namespace
