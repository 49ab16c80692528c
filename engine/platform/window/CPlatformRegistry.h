#pragma once
// The platform pieces the engine needs besides the window a host hands it:
// a window of its own (when the host gives none), the settings dialog, and
// the source of the display's real modes. The engine never names a window
// system; each host registers the implementations it links, the way display
// servers register their create functions. The player registers SDL's, the
// editor its own; a host that registers none still runs the engine on the
// output window it passes to the screen.
//
// Registration happens on the host thread before the first run; the
// registered functions are called on the host thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/window/SDisplaySettings.h"
#include "platform/window/SOwnWindowRequest.h"

class COutputWindow;

class CPlatformRegistry {
public:
    // Opens the window; null with the reason in error when it cannot.
    using OwnWindowCreator =
        std::function<std::unique_ptr<COutputWindow>(const SOwnWindowRequest&, std::string& error)>;
    // Shows the dialog; true with the edited values on OK, false on Cancel or
    // when no dialog could be shown (reason in error).
    using SettingsDialog = std::function<bool(SDisplaySettings&, std::string& error)>;
    // Hands the display's modes to the Direct3D layer; false (reason in
    // error) when there is no display: the layer keeps the modes it has.
    using DisplayModeSource = std::function<bool(std::string& error)>;

    // Each replaces an earlier registration of its kind; an empty function
    // removes it.
    static void RegisterOwnWindow(OwnWindowCreator creator);
    static void RegisterSettingsDialog(SettingsDialog dialog);
    static void RegisterDisplayModeSource(DisplayModeSource source);

    static std::unique_ptr<COutputWindow> CreateOwnWindow(const SOwnWindowRequest& request, std::string& error);
    static bool RunSettingsDialog(SDisplaySettings& inOut, std::string& error);
    static bool RefreshDisplayModes(std::string& error);
};
