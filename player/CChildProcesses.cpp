#include "CChildProcesses.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// The parent in /proc/PID/stat: "PID (name) STATE PPID ...", where the name
// may itself hold spaces and parentheses.
pid_t ParentOf(const std::filesystem::path& statFile) {
    std::ifstream file(statFile);
    std::string line;
    if (!std::getline(file, line))
        return -1;
    const size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 4 >= line.size())
        return -1;
    // After ") " come the state letter and a space.
    return static_cast<pid_t>(std::atol(line.c_str() + nameEnd + 4));
}

bool IsNumber(const std::string& name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::vector<pid_t> CChildProcesses::List() {
    std::vector<pid_t> children;
    const pid_t self = getpid();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (IsNumber(name) && ParentOf(entry.path() / "stat") == self)
            children.push_back(static_cast<pid_t>(std::atol(name.c_str())));
    }
    return children;
}

void CChildProcesses::KillAll() {
    for (pid_t child : List())
        kill(child, SIGKILL);
}
