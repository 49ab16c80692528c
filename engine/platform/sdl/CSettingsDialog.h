#pragma once
// The engine's settings dialog "Lumivexis settings": resolution, colour depth,
// full screen and the logo switch, drawn with Dear ImGui in a small window of
// its own. Run blocks the calling thread (the host thread) until OK, Cancel,
// Escape, Enter or closing the window ends it. The dialog's decisions live in
// CSettingsDialogModel.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/sdl/CSettingsDialogModel.h"

class CSettingsDialog {
public:
    using Settings = SDisplaySettings;
    // Called after every drawn frame with the dialog window's SDL id; tests
    // use it to feed events to the open dialog.
    using FrameObserver = std::function<void(std::uint32_t windowId, int frame)>;

    // Shows the dialog with inOut's values. On OK (or Enter) stores the
    // edited values in inOut and returns true; otherwise leaves inOut alone
    // and returns false, also when no window can be opened (reason in error).
    CSettingsDialog();

    bool Run(Settings& inOut, std::string* error = nullptr);

    void SetFrameObserver(FrameObserver observer) { m_frameObserver = std::move(observer); }
    // The observer every dialog created afterwards starts with, so that a
    // test can drive a dialog the engine opens itself; empty to stop.
    static void SetDefaultFrameObserver(FrameObserver observer);

private:
    FrameObserver m_frameObserver;
};
