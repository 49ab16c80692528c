// Loads arbitrary bytes as a scene file, packed and plain, the way the editor
// and the player do: CScene::Load on the render thread of a running screen
// with a headless device, so that loaded objects build their geometry and
// textures. A damaged file must be refused with a message, never crash or
// read outside the data, and never leave the scene half replaced.
//
// The screen runs once for the whole session: its only frame waits for one
// input after another, loads it and hands back.

#include <unistd.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "platform/base/ErrorReport.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CMP3Player.h"
#include "scene/CScene.h"

namespace {

class CFuzzHost {
public:
    CFuzzHost() {
        SetErrorReportHandler([](const std::string&, const std::string&, ErrorIcon) {});
        // The engine writes its log and "music.tmp" into the current directory.
        m_Folder = std::filesystem::temp_directory_path() / ("lvx-fuzz-scene-load-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_Folder);
        std::filesystem::current_path(m_Folder);
        m_FilePath = (m_Folder / "input.bgs").string();
        // libFuzzer writes its crash files here too: only the engine's own
        // files go at exit, and the folder only when nothing else is left.
        static std::filesystem::path folder = m_Folder;
        std::atexit([] {
            std::error_code ignored;
            for (const char* name : {"input.bgs", "log.txt", "music.tmp"}) {
                std::filesystem::remove(folder / name, ignored);
            }
            std::filesystem::remove(folder, ignored);
        });
        CScreen& screen = CScreen::Instance();
        screen.ViewInfo(false);
        screen.GetSound().SetCommandSender([](const CString&) -> MCIERROR { return 0; });
        m_Runner.SetTimeout(100000000);
        m_Thread = std::thread([this] { m_Runner.RunFrames(1, [this](int) { Serve(); }); });
    }

    // Hands one input to the render thread and waits until it is loaded.
    void Load(const uint8_t* bytes, size_t size) {
        {
            std::ofstream file(m_FilePath, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        }
        // Plain files name other files to read: keep away from device files
        // and kernel tables that never end or block.
        const std::string_view text(reinterpret_cast<const char*>(bytes), size);
        const bool plainIsSafe = text.find("dev") == std::string_view::npos &&
                                 text.find("proc") == std::string_view::npos &&
                                 text.find("sys") == std::string_view::npos;
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_bPlainToo = plainIsSafe;
        m_bPending = true;
        m_Changed.notify_all();
        m_Changed.wait(lock, [this] { return !m_bPending; });
    }

private:
    // The render thread's only frame: one scene, loaded again for each input.
    void Serve() {
        CScene scene;
        for (;;) {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Changed.wait(lock, [this] { return m_bPending; });
            scene.Load(m_FilePath, true);
            if (m_bPlainToo) {
                scene.Load(m_FilePath, false);
            }
            m_bPending = false;
            m_Changed.notify_all();
        }
    }

    std::filesystem::path m_Folder;
    std::string m_FilePath;
    CHeadlessWindow m_Window{16, 16};
    CScreenRunner m_Runner{m_Window};
    std::thread m_Thread;
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    bool m_bPending = false;
    bool m_bPlainToo = false;
};

}  // namespace

// The host works in a folder of its own (the engine writes its log and
// "music.tmp" into the current directory), so crash files are pointed at the
// directory the fuzzer was started in unless the command line says otherwise.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        if (std::string_view((*argv)[i]).starts_with("-artifact_prefix="))
            return 0;
    }
    static std::string prefix = "-artifact_prefix=" + std::filesystem::current_path().string() + "/";
    static std::vector<char*> arguments((*argv), (*argv) + *argc);
    arguments.push_back(prefix.data());
    arguments.push_back(nullptr);
    *argc = static_cast<int>(arguments.size()) - 1;
    *argv = arguments.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    // Never destroyed: the render thread serves until the process ends.
    static CFuzzHost* host = new CFuzzHost();
    host->Load(bytes, size);
    return 0;
}
