#include "platform/window/CPlatformRegistry.h"

#include <mutex>

#include "platform/window/COutputWindow.h"

namespace {

struct SRegistrations {
    std::mutex mutex;
    CPlatformRegistry::OwnWindowCreator ownWindow;
    CPlatformRegistry::SettingsDialog settingsDialog;
    CPlatformRegistry::DisplayModeSource displayModes;
};

SRegistrations& Registrations() {
    static SRegistrations registrations;
    return registrations;
}

// A copy taken under the lock, so that the call itself runs without it (a
// dialog blocks for as long as the user keeps it open).
template <class TFunction>
TFunction Registered(TFunction SRegistrations::*member) {
    SRegistrations& registrations = Registrations();
    std::lock_guard lock(registrations.mutex);
    return registrations.*member;
}

template <class TFunction>
void Register(TFunction SRegistrations::*member, TFunction function) {
    SRegistrations& registrations = Registrations();
    std::lock_guard lock(registrations.mutex);
    registrations.*member = std::move(function);
}

}  // namespace

void CPlatformRegistry::RegisterOwnWindow(OwnWindowCreator creator) {
    Register(&SRegistrations::ownWindow, std::move(creator));
}

void CPlatformRegistry::RegisterSettingsDialog(SettingsDialog dialog) {
    Register(&SRegistrations::settingsDialog, std::move(dialog));
}

void CPlatformRegistry::RegisterDisplayModeSource(DisplayModeSource source) {
    Register(&SRegistrations::displayModes, std::move(source));
}

std::unique_ptr<COutputWindow> CPlatformRegistry::CreateOwnWindow(const SOwnWindowRequest& request,
                                                                  std::string& error) {
    const OwnWindowCreator creator = Registered(&SRegistrations::ownWindow);
    if (!creator) {
        error = "no window system is registered for the engine's own window";
        return nullptr;
    }
    return creator(request, error);
}

bool CPlatformRegistry::RunSettingsDialog(SDisplaySettings& inOut, std::string& error) {
    const SettingsDialog dialog = Registered(&SRegistrations::settingsDialog);
    if (!dialog) {
        error = "no settings dialog is registered";
        return false;
    }
    return dialog(inOut, error);
}

bool CPlatformRegistry::RefreshDisplayModes(std::string& error) {
    const DisplayModeSource source = Registered(&SRegistrations::displayModes);
    if (!source) {
        error = "no display-mode source is registered";
        return false;
    }
    return source(error);
}
