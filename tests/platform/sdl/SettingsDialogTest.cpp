// The "Lumivexis settings" dialog: its decisions on their own, then the real
// dialog window driven by keys pushed into SDL's queue.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/sdl/CSettingsDialog.h"

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

void PushKey(Uint32 windowId, Uint32 type, SDL_Scancode key) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = windowId;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    SDL_PushEvent(&event);
}

void PushCloseToDialog(Uint32 windowId) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
}

// One key press of a script: down at one frame, up two frames later (the
// user interface samples keys once per frame).
struct ScriptedKey {
    int frame;
    SDL_Scancode key;
};

// Runs the dialog and presses the keys of the script once it is drawn
// (closing it instead when close is set). Fails the test if the dialog does
// not end soon after the script.
bool RunDialog(SDisplaySettings& settings, const std::vector<ScriptedKey>& script, bool close = false,
               std::string* title = nullptr) {
    CSettingsDialog dialog;
    int lastScriptedFrame = 3;
    for (const ScriptedKey& step : script) lastScriptedFrame = std::max(lastScriptedFrame, step.frame);
    bool scriptDone = false;
    dialog.SetFrameObserver([&](std::uint32_t windowId, int frame) {
        if (title) *title = SDL_GetWindowTitle(SDL_GetWindowFromID(windowId));
        for (const ScriptedKey& step : script) {
            if (frame == step.frame) PushKey(windowId, SDL_KEYDOWN, step.key);
            if (frame == step.frame + 2) PushKey(windowId, SDL_KEYUP, step.key);
        }
        if (close && frame == 3) PushCloseToDialog(windowId);
        scriptDone = frame >= lastScriptedFrame;
        if (frame > lastScriptedFrame + 100) {
            ADD_FAILURE() << "the dialog did not end";
            PushCloseToDialog(windowId);
        }
    });
    std::string error;
    const bool accepted = dialog.Run(settings, &error);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_TRUE(scriptDone) << "the dialog ended before the script did";
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
