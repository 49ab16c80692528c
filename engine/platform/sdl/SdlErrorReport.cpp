#include "platform/sdl/SdlErrorReport.h"

#include <SDL.h>

#include <cstdio>
#include <mutex>

namespace {

Uint32 MessageBoxFlag(ErrorIcon icon) {
    switch (icon) {
    case ErrorIcon::Error:
        return SDL_MESSAGEBOX_ERROR;
    case ErrorIcon::Warning:
        return SDL_MESSAGEBOX_WARNING;
    case ErrorIcon::Information:
        return SDL_MESSAGEBOX_INFORMATION;
    }
    return SDL_MESSAGEBOX_ERROR;
}

void ShowReport(const std::string& text, const std::string& title, ErrorIcon icon) {
    // Reports from the host and the render thread come one after the other,
    // as modal boxes do on one desktop.
    static std::mutex boxMutex;
    std::lock_guard lock(boxMutex);
    if (SDL_ShowSimpleMessageBox(MessageBoxFlag(icon), title.c_str(), text.c_str(), nullptr) == 0)
        return;
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

ErrorReportHandler InstallSdlErrorReportHandler(const std::string& defaultTitle) {
    return SetErrorReportHandler([defaultTitle](const std::string& text, const std::string& title, ErrorIcon icon) {
        ShowReport(text, title.empty() ? defaultTitle : title, icon);
    });
}
