#pragma once
// What the "Lumivexis settings" dialog chooses, kept between runs in
// $XDG_CONFIG_HOME/lumivexis/player.conf (~/.config/lumivexis/player.conf),
// one "key=value" per line:
//
//   resolution=0..4     640 x 480 .. 1600 x 1200
//   colordepth=0|1      16 or 32 bits in full screen
//   fullscreen=0|1
//   showinfo=0|1        the "Show Logo && Infos" box: version banner and camera line
//
// Colour depth and the banner apply to every run. Resolution and full screen
// apply to scene files played by path; an exported program keeps the
// display format its export chose.

#include <optional>
#include <string>

#include "core/CScreen.h"

struct SPlayerSettings {
    TResolutionEnum resolution = RES_640_480;
    int colorDepth = 1;
    bool fullscreen = false;
    bool showInfo = true;

    bool operator==(const SPlayerSettings&) const = default;
};

class CPlayerSettings {
public:
    // The settings file: $XDG_CONFIG_HOME/lumivexis/player.conf, else
    // $HOME/.config/lumivexis/player.conf; empty when neither is set.
    static std::string DefaultPath();

    // The saved settings, or nothing when the file does not exist. Unknown
    // keys and values out of range are ignored (the default stays).
    static std::optional<SPlayerSettings> Load(const std::string& path);
    // Creates the folder when needed. False with the reason in error.
    static bool Save(const std::string& path, const SPlayerSettings& settings, std::string& error);

    // The dialog's four values from and to the screen.
    static SPlayerSettings FromScreen(CScreen& screen);
    static void ApplyToScreen(const SPlayerSettings& settings, CScreen& screen);
};
