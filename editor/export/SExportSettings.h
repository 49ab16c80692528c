#pragma once
// What the "Export Settings" dialog asks for, without the dialog: the values
// of its controls with their defaults, the display format they make of the
// scene's previous one, and the kind of file the save dialog offers.
//
// The display format's flags: bit 0 runs the scene as a screensaver, bit 2
// in a window. A screensaver is always full screen; an executable is
// windowed when "Fullscreen" is clear. Bits 1 and 3 mean nothing to the
// player and are cleared; higher bits keep what they were.

#include <QString>

#include "scene/CDisplayFormat.h"

enum class TExportType {
    ScreenSaver = 0,         // "Screen Saver"
    StandardExecutable = 1,  // "Standard Executable"
};

struct SExportSettings {
    static constexpr int kScreenSaverFlag = 1 << 0;
    static constexpr int kWindowedFlag = 1 << 2;
    static constexpr int kClearedFlags = (1 << 1) | (1 << 3);
    static constexpr int kMaxTitleLength = 100;

    TExportType type = TExportType::ScreenSaver;
    // 0 the desktop's resolution, 1 .. 5: 640 x 480 .. 1600 x 1200.
    int resolution = 0;
    bool fullscreen = true;
    QString windowTitle = QStringLiteral("Brennox Skyloom");
    bool installer = false;
    QString installerName = QStringLiteral("My ScreenSaver");

    // The format to store: `previous` with the resolution, the flags and the
    // title of these settings.
    CDisplayFormat DisplayFormat(const CDisplayFormat& previous) const;

    // An executable, and every installer, is chosen as "*.exe"; a bare
    // screensaver as "*.scr".
    bool ChoosesExecutableName() const;
    // Only a screensaver gets an installer: the box does not show for an
    // executable, whatever it holds.
    bool BuildsInstaller() const { return type == TExportType::ScreenSaver && installer; }
    QString FileFilter() const;
    QString DefaultSuffix() const;
};
