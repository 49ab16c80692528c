// The time from starting Pelavor to the first frame presented in its 3D
// view, on the demo scene and on an empty scene, measured from outside: the
// editor is spawned as users spawn it and reports its first frame on its
// standard output (PELAVOR_REPORT_FIRST_FRAME). Each start gets fresh
// settings and state folders, so no window placement or recovery copy from
// a previous start plays a part.
//
// The editor needs an X server: without DISPLAY the benchmark runs itself
// again under a private Xvfb.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/CTempFolder.h"

extern char** environ;

namespace {

constexpr int kWaitLimitMs = 60000;

// One editor process whose standard output comes through a pipe.
class CEditorProcess {
public:
    CEditorProcess(const std::string& scene, const CTempFolder& home) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        m_Output = fds[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<std::string> environment = Environment(home);
        std::vector<char*> envp;
        for (std::string& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::string program = LVX_PELAVOR;
        std::string sceneArgument = scene;
        std::vector<char*> argv{program.data()};
        if (!sceneArgument.empty()) {
            argv.push_back(sceneArgument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_Pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
            m_Pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
    }

    ~CEditorProcess() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
        if (m_Output >= 0) {
            close(m_Output);
        }
    }
    CEditorProcess(const CEditorProcess&) = delete;
    CEditorProcess& operator=(const CEditorProcess&) = delete;

    // Reads the editor's output until it reports its first frame; false when
    // it ended or stayed silent for a minute.
    bool WaitForFirstFrame() {
        std::string seen;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitLimitMs);
        while (m_Pid > 0 && std::chrono::steady_clock::now() < deadline) {
            pollfd fd{m_Output, POLLIN, 0};
            if (poll(&fd, 1, 100) <= 0) {
                continue;
            }
            char buffer[256];
            const ssize_t count = read(m_Output, buffer, sizeof(buffer));
            if (count <= 0) {
                return false;
            }
            seen.append(buffer, static_cast<std::size_t>(count));
            if (seen.find("first frame presented") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

private:
    static std::vector<std::string> Environment(const CTempFolder& home) {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (text.rfind("XDG_CONFIG_HOME=", 0) != 0 && text.rfind("XDG_STATE_HOME=", 0) != 0 &&
                text.rfind("XDG_RUNTIME_DIR=", 0) != 0 && text.rfind("QT_QPA_PLATFORM=", 0) != 0) {
                environment.push_back(text);
            }
        }
        environment.push_back("XDG_CONFIG_HOME=" + home.Path("config"));
        environment.push_back("XDG_STATE_HOME=" + home.Path("state"));
        environment.push_back("XDG_RUNTIME_DIR=" + home.Root().string());
        environment.push_back("QT_QPA_PLATFORM=xcb");
        environment.push_back("PELAVOR_REPORT_FIRST_FRAME=1");
        environment.push_back("SDL_AUDIODRIVER=dummy");
        return environment;
    }

    pid_t m_Pid = -1;
    int m_Output = -1;
};

void StartToFirstFrame(benchmark::State& state, const std::string& scene) {
    for (auto _ : state) {
        CTempFolder home;
        const auto start = std::chrono::steady_clock::now();
        CEditorProcess editor(scene, home);
        if (!editor.WaitForFirstFrame()) {
            state.SkipWithError("the editor presented no frame");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void BM_PelavorStartToFirstFrameOnTheDemoScene(benchmark::State& state) {
    StartToFirstFrame(state, LVX_DEMO_SCENE);
}
BENCHMARK(BM_PelavorStartToFirstFrameOnTheDemoScene)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_PelavorStartToFirstFrameOnAnEmptyScene(benchmark::State& state) {
    StartToFirstFrame(state, std::string());
}
BENCHMARK(BM_PelavorStartToFirstFrameOnAnEmptyScene)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr || std::getenv("LVX_BENCH_IN_XVFB") == nullptr) {
        // Once more under a private X server, so the figures never depend
        // on the desktop the benchmark happens to be started from.
        setenv("LVX_BENCH_IN_XVFB", "1", 1);
        std::vector<char*> arguments{const_cast<char*>(LVX_RUN_IN_XVFB)};
        for (int i = 0; i < argc; ++i) {
            arguments.push_back(argv[i]);
        }
        arguments.push_back(nullptr);
        execv(LVX_RUN_IN_XVFB, arguments.data());
        std::perror("run-in-xvfb.sh");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
