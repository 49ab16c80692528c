#pragma once
// Runs a program of ours as a child process for the end-to-end tests: with
// arguments, changed environment variables, captured standard output and
// error, and a time limit. Header only: the test groups of the player and
// the tool include it.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace lvxtest {

struct SChildResult {
    int exitCode = -1;  // -1 when it did not exit normally
    int signal = 0;     // the signal that ended it, if any
    bool timedOut = false;
    std::string out;
    std::string err;
};

// A started child whose output is read when it is waited for.
class CChild {
public:
    // env: variables to set (a value of std::nullopt removes the variable).
    CChild(const std::vector<std::string>& argv, const std::map<std::string, std::optional<std::string>>& env = {}) {
        std::map<std::string, std::string> merged;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const size_t equals = entry.find('=');
            if (equals != std::string::npos)
                merged[entry.substr(0, equals)] = entry.substr(equals + 1);
        }
        for (const auto& [name, value] : env) {
            if (value) {
                merged[name] = *value;
            } else {
                merged.erase(name);
            }
        }
        std::vector<std::string> envStrings;
        for (const auto& [name, value] : merged)
            envStrings.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& s : envStrings)
            envp.push_back(s.data());
        envp.push_back(nullptr);
        std::vector<std::string> args = argv;
        std::vector<char*> argp;
        for (std::string& s : args)
            argp.push_back(s.data());
        argp.push_back(nullptr);

        int outPipe[2];
        int errPipe[2];
        if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        // The child starts with no signal blocked, whatever this process does.
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
        if (posix_spawn(&m_pid, argp[0], &actions, &attributes, argp.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        close(outPipe[1]);
        close(errPipe[1]);
        m_out = outPipe[0];
        m_err = errPipe[0];
    }

    ~CChild() {
        if (m_pid > 0 && !m_waited) {
            kill(m_pid, SIGKILL);
            Wait(std::chrono::seconds(5));
        }
        if (m_out >= 0)
            close(m_out);
        if (m_err >= 0)
            close(m_err);
    }

    bool Started() const { return m_pid > 0; }
    void Signal(int signal) const {
        if (m_pid > 0)
            kill(m_pid, signal);
    }

    // Reads the output until the child exits or the limit passes (then it is
    // killed and timedOut set).
    SChildResult Wait(std::chrono::milliseconds limit) {
        SChildResult result;
        if (m_pid <= 0 || m_waited)
            return result;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        bool outOpen = true;
        bool errOpen = true;
        while (outOpen || errOpen) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                result.timedOut = true;
                kill(m_pid, SIGKILL);
                break;
            }
            pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
            if (poll(fds, 2, static_cast<int>(std::min<long long>(left.count(), 100))) < 0)
                continue;
            outOpen = outOpen && Drain(fds[0], m_out, result.out);
            errOpen = errOpen && Drain(fds[1], m_err, result.err);
        }
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_waited = true;
        if (WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status))
            result.signal = WTERMSIG(status);
        return result;
    }

private:
    // Reads what is there; false once the pipe is closed.
    static bool Drain(const pollfd& fd, int descriptor, std::string& into) {
        if ((fd.revents & (POLLIN | POLLHUP | POLLERR)) == 0)
            return true;
        char buffer[4096];
        const ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got > 0) {
            into.append(buffer, static_cast<size_t>(got));
            return true;
        }
        return got < 0 && errno == EINTR;
    }

    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    bool m_waited = false;
};

inline SChildResult RunChild(const std::vector<std::string>& argv,
                             const std::map<std::string, std::optional<std::string>>& env = {},
                             std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    CChild child(argv, env);
    return child.Wait(limit);
}

}  // namespace lvxtest
