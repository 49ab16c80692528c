#include "CPlayerApp.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "CClampedClock.h"
#include "CDisplaySetup.h"
#include "CPlaybackSession.h"
#include "CPlayerSettings.h"
#include "CProgramImage.h"
#include "CRunDirectory.h"
#include "CScenePlayer.h"
#include "CSignalWatcher.h"
#include "core/CScreen.h"
#include "platform/base/ErrorReport.h"
#include "platform/files/CPngFile.h"
#include "platform/sdl/SdlErrorReport.h"
#include "scene/CScene.h"

#ifndef LVX_VERSION
#define LVX_VERSION "unknown"
#endif

namespace {

SOutputChoice ChooseOutput(const SPlayerOptions& options, const SScreenSetup& setup) {
    SOutputChoice output;
    switch (options.target) {
    case TOutputTarget::WindowId:
        output.kind = TOutputKind::XWindow;
        output.windowId = options.windowId;
        break;
    case TOutputTarget::Root:
        output.kind = TOutputKind::XRootWindow;
        break;
    case TOutputTarget::OwnWindow:
        // Automation without a display draws off screen.
        output.kind =
            options.frames > 0 && !CPlaybackSession::HasDisplay() ? TOutputKind::Headless : TOutputKind::OwnWindow;
        break;
    }
    CDisplaySetup::PixelSize(setup, output.width, output.height);
    return output;
}

// The display format decides, then the saved settings for scene files played
// by path, then the command line.
SScreenSetup ScreenSetupFor(const SSceneFileInfo& info, const SPlayerOptions& options,
                            const std::optional<SPlayerSettings>& settings) {
    SScreenSetup setup = CDisplaySetup::FromDisplayFormat(info.displayFormat);
    if (settings && !info.packed) {
        setup.useDesktopScreen = false;
        setup.resolution = settings->resolution;
        setup.fullscreen = settings->fullscreen;
    }
    if (options.window == TWindowOverride::Windowed)
        setup = CDisplaySetup::Windowed(setup);
    if (options.window == TWindowOverride::Fullscreen)
        setup = CDisplaySetup::Fullscreen(setup);
    return setup;
}

}  // namespace

CPlayerApp::~CPlayerApp() {
    SetErrorReportHandler(nullptr);
}

int CPlayerApp::Main(const std::vector<std::string>& arguments) {
    // Before any file is opened: the signals are blocked, and only the
    // watcher takes them.
    CSignalWatcher watcher([this](int signal) { m_Signals.OnSignal(signal); }, [this] { m_Signals.CheckGrace(); });
    SPlayerOptions options;
    std::string error;
    if (!CPlayerOptions::Parse(arguments, std::getenv("XSCREENSAVER_WINDOW"), options, error)) {
        Fail(error + "\nTry \"" + m_ProgramName + " --help\".");
        return kExitUsage;
    }
    switch (options.action) {
    case TPlayerAction::Help:
        std::cout << CPlayerOptions::Usage(m_ProgramName);
        return kExitOk;
    case TPlayerAction::Version:
        std::cout << m_ProgramName << " (Lumivexis player) " << LVX_VERSION << "\n";
        return kExitOk;
    case TPlayerAction::Settings:
        return RunSettingsDialog();
    case TPlayerAction::Play:
        break;
    }
    return Play(options);
}

bool CPlayerApp::FindScene(const SPlayerOptions& options, std::string& path, SSceneFileInfo& info, int& status) {
    const bool ownImage = options.scenePath.empty();
    path = ownImage ? CProgramImage::ImagePath() : CRunDirectory::Absolute(options.scenePath);
    std::string error;
    const TProbeResult result = CSceneFileProbe::Probe(path, info, error);
    if (result == TProbeResult::Scene)
        return true;
    if (ownImage && (result == TProbeResult::NoTrailer || result == TProbeResult::NotAScene)) {
        // The bare player: nothing was packed into it.
        std::cerr << CPlayerOptions::Usage(m_ProgramName);
        status = kExitUsage;
        return false;
    }
    const std::string shown = ownImage ? CProgramImage::DisplayName(m_StartedAs) : options.scenePath;
    Fail(CSceneFileProbe::Describe(result, shown, error));
    status = kExitFailed;
    return false;
}

int CPlayerApp::Play(const SPlayerOptions& options) {
    std::string scenePath;
    SSceneFileInfo info;
    int status = kExitOk;
    if (!FindScene(options, scenePath, info, status))
        return status;
    const std::string screenshot = CRunDirectory::Absolute(options.screenshotPath);

    const std::optional<SPlayerSettings> settings = CPlayerSettings::Load(CPlayerSettings::DefaultPath());
    SScreenSetup setup = ScreenSetupFor(info, options, settings);
    const SOutputChoice output = ChooseOutput(options, setup);
    if (output.kind == TOutputKind::OwnWindow && !CPlaybackSession::HasDisplay()) {
        Fail(
            "no display to play on (DISPLAY and WAYLAND_DISPLAY are not set); "
            "--frames N --screenshot FILE.png renders off screen");
        return kExitFailed;
    }
    if (output.kind != TOutputKind::OwnWindow)
        setup = CDisplaySetup::ForHostWindow(setup);

    // The engine's log goes where it is created: our state folder.
    CRunDirectory::EnterStateDirectory();
    InstallErrorReporting(output.kind == TOutputKind::OwnWindow && options.frames == 0);

    CScreen& screen = CScreen::Instance();
    if (settings) {
        screen.SetColorDepth(settings->colorDepth);
        screen.ViewInfo(settings->showInfo);
    }
    CDisplaySetup::Apply(setup, screen);

    CScene scene;
    SPlaybackSettings playback;
    playback.scenePath = scenePath;
    playback.packed = info.packed;
    playback.frameLimit = options.frames;
    playback.captureLastFrame = !screenshot.empty();
    CScenePlayer player(scene, playback);

    CClampedClock clock;
    screen.SetClockSource([&clock] { return clock.Now(); });
    std::string error;
    m_Signals.BeginRun([&player, &screen] {
        player.RequestStop();
        screen.StopRun();
    });
    const bool opened = CPlaybackSession::Run(output, player, error);
    m_Signals.EndRun();
    screen.SetClockSource(nullptr);

    if (!opened) {
        Fail("cannot draw into the window: " + error);
        return kExitFailed;
    }
    // The reasons (damaged file, no device, no window) have been reported.
    if (!player.SceneLoaded() || !screen.GetErrors().empty())
        return kExitFailed;
    if (!screenshot.empty()) {
        const SFrame& frame = player.LastFrame();
        if (frame.pixels.empty()) {
            Fail("the run ended before the frame for " + options.screenshotPath + " was drawn");
            return kExitFailed;
        }
        if (!CPngFile::Write(screenshot, frame.width, frame.height, frame.pixels, error)) {
            Fail("cannot write " + options.screenshotPath + ": " + error);
            return kExitFailed;
        }
    }
    return kExitOk;
}

int CPlayerApp::RunSettingsDialog() {
    if (!CPlaybackSession::HasDisplay()) {
        Fail("the settings dialog needs a display");
        return kExitFailed;
    }
    const std::string path = CPlayerSettings::DefaultPath();
    // No run to end gracefully: a signal ends the dialog and the program.
    CRunDirectory::EnterStateDirectory();
    InstallErrorReporting(true);
    CScreen& screen = CScreen::Instance();
    if (const auto saved = CPlayerSettings::Load(path))
        CPlayerSettings::ApplyToScreen(*saved, screen);
    const SPlayerSettings before = CPlayerSettings::FromScreen(screen);
    screen.DisplayResolutionDlg();
    // Cancel (or closing the dialog) leaves the values as they were: then
    // nothing is written.
    const SPlayerSettings after = CPlayerSettings::FromScreen(screen);
    if (after == before)
        return kExitOk;
    std::string error;
    if (!CPlayerSettings::Save(path, after, error)) {
        Fail("cannot save the settings in " + path + ": " + error);
        return kExitFailed;
    }
    return kExitOk;
}

void CPlayerApp::InstallErrorReporting(bool interactive) {
    // Automation and savers inside a daemon's window: no boxes, just stderr.
    const std::string program = m_ProgramName;
    const auto toStderr = [program](const std::string& text, const std::string& /*title*/, ErrorIcon /*icon*/) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), text.c_str());
        std::fflush(stderr);
    };
    if (!interactive) {
        SetErrorReportHandler(toStderr);
        return;
    }
    // A modal box waits for a click: a signal meanwhile must still end the
    // program (and after a signal no box waits at all).
    InstallSdlErrorReportHandler("Lumivexis");
    const ErrorReportHandler box = SetErrorReportHandler(nullptr);
    SetErrorReportHandler([this, box, toStderr](const std::string& text, const std::string& title, ErrorIcon icon) {
        if (!m_Signals.BeginModalReport()) {
            toStderr(text, title, icon);
            return;
        }
        box(text, title, icon);
        m_Signals.EndModalReport();
    });
}

void CPlayerApp::Fail(const std::string& message) const {
    std::cerr << m_ProgramName << ": " << message << "\n";
}
