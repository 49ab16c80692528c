#include "CExampleHost.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "core/CKeyboard.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/files/CPngFile.h"
#include "platform/headless/CHeadlessWindow.h"
#include "platform/sdl/SdlPlatform.h"
#include "platform/window/COutputWindow.h"
#include "platform/window/CPlatformRegistry.h"

namespace {

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

// A window run lasts until the user ends it; a day is "forever" for the
// runner's safety stop.
constexpr int kWindowTimeoutSeconds = 24 * 60 * 60;
constexpr int kDefaultHeadlessFrames = 100;

}  // namespace

CExampleHost::CExampleHost(std::string name, std::string description)
    : m_name(std::move(name)), m_description(std::move(description)) {}

std::string CExampleHost::MediaPath(const std::string& relative) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (program.parent_path() / "media" / relative).string();
}

bool CExampleHost::ParseArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--frames" && hasValue) {
            char* end = nullptr;
            const long frames = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || frames <= 0 || frames > INT_MAX) {
                m_error = "--frames wants a positive number of frames";
                return false;
            }
            m_frames = static_cast<int>(frames);
        } else if (argument == "--screenshot" && hasValue) {
            m_screenshot = argv[++i];
        } else {
            m_error = "unknown argument \"" + argument + "\"";
            return false;
        }
    }
    return true;
}

int CExampleHost::Run(int argc, char** argv, CExampleScene& scene) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << "Usage: " << m_name << " [--frames N] [--screenshot FILE.png]\n"
                  << m_description << "\n"
                  << "Plays in a window when there is a display (Escape ends it), otherwise off screen\n"
                  << "(100 frames unless --frames says otherwise, at 25 frames per scene second).\n";
        return 0;
    }
    if (!ParseArguments(argc, argv)) {
        std::cerr << m_name << ": " << m_error << "\nTry \"" << m_name << " --help\".\n";
        return 2;
    }
    CScreen& screen = CScreen::Instance();
    screen.SetFullscreen(false);
    screen.SetResolution(RES_800_600);
    screen.ViewInfo(false);
    screen.SetTitle(m_name.c_str());
    if (!RunFrames(scene, !HasDisplay())) {
        std::cerr << m_name << ": " << m_error << "\n";
        return 1;
    }
    return 0;
}

bool CExampleHost::RunFrames(CExampleScene& scene, bool headless) {
    CScreen& screen = CScreen::Instance();
    std::unique_ptr<COutputWindow> window;
    std::atomic<int> framesDrawn{0};
    if (headless) {
        window = std::make_unique<CHeadlessWindow>(kWidth, kHeight);
        screen.SetClockSource([&framesDrawn] { return framesDrawn.load() * double{kHeadlessFrameSeconds}; });
    } else {
        RegisterSdlPlatform();
        SOwnWindowRequest request;
        request.title = m_name;
        request.width = kWidth;
        request.height = kHeight;
        window = CPlatformRegistry::CreateOwnWindow(request, m_error);
        if (window == nullptr) {
            return false;
        }
    }
    const int frames = m_frames > 0 ? m_frames : (headless ? kDefaultHeadlessFrames : INT_MAX);

    bool started = false;
    CScreenRunner runner(*window);
    runner.SetTimeout(headless ? 600 : kWindowTimeoutSeconds);
    runner.SetFinishFunction([&] {
        // The objects hold device resources, which must go on this thread
        // and before the device does.
        if (started) {
            scene.Stop();
        }
    });
    const bool ran = runner.RunFrames(frames, [&](int frame) {
        if (frame == 0) {
            // The clock starts with the scene, not with the run.
            screen.ResetTime();
            screen.Play(1.0f);
            started = scene.Start();
        }
        if (started) {
            scene.Frame(frame, screen.GetTickCount());
        }
        if (!headless && (screen.KeyboardReadData() & CKeyboard::kEscape) != 0) {
            screen.StopRun();
        }
        ++framesDrawn;
    });
    screen.SetClockSource(nullptr);
    if (!started) {
        m_error = "the scene could not be set up (see log.txt)";
        return false;
    }
    if (!ran && headless) {
        m_error = "the engine could not draw off screen (see log.txt)";
        return false;
    }
    if (!m_screenshot.empty()) {
        if (runner.Pixels().empty()) {
            m_error = "no frame to write: the window closed before the last frame";
            return false;
        }
        std::string error;
        if (!CPngFile::Write(m_screenshot, runner.Width(), runner.Height(), runner.Pixels(), error)) {
            m_error = "cannot write " + m_screenshot + ": " + error;
            return false;
        }
    }
    return true;
}
