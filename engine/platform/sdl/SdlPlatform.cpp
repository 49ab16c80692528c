#include "platform/sdl/SdlPlatform.h"

#include "platform/sdl/CSdlWindow.h"
#include "platform/sdl/CSettingsDialog.h"
#include "platform/sdl/SdlDisplayModes.h"
#include "platform/window/CPlatformRegistry.h"

namespace {

TSdlWindowMode SdlModeOf(TOwnWindowMode mode) {
    switch (mode) {
    case TOwnWindowMode::Fullscreen:
        return TSdlWindowMode::Fullscreen;
    case TOwnWindowMode::FullscreenDesktop:
        return TSdlWindowMode::FullscreenDesktop;
    case TOwnWindowMode::Windowed:
        break;
    }
    return TSdlWindowMode::Windowed;
}

std::unique_ptr<COutputWindow> CreateSdlWindow(const SOwnWindowRequest& request, std::string& error) {
    SSdlWindowSettings settings;
    settings.mode = SdlModeOf(request.mode);
    settings.width = request.width;
    settings.height = request.height;
    settings.topmost = request.topmost;
    return CSdlWindow::Create(request.title, settings, &error);
}

bool RunSdlSettingsDialog(SDisplaySettings& inOut, std::string& error) {
    CSettingsDialog dialog;
    return dialog.Run(inOut, &error);
}

}  // namespace

void RegisterSdlPlatform() {
    CPlatformRegistry::RegisterOwnWindow(&CreateSdlWindow);
    CPlatformRegistry::RegisterSettingsDialog(&RunSdlSettingsDialog);
    CPlatformRegistry::RegisterDisplayModeSource([](std::string& error) { return RegisterSdlDisplayModes(&error); });
}
