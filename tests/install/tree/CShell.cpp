#include "CShell.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

CShell::SResult CShell::Run(const std::string& command) {
    SResult result;
    FILE* pipe = ::popen(("(" + command + ") 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.m_Output.append(buffer.data(), count);
    }
    const int status = ::pclose(pipe);
    if (status != -1 && WIFEXITED(status)) {
        result.m_Status = WEXITSTATUS(status);
    }
    return result;
}

std::string CShell::Quote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

bool CShell::Has(const std::string& program) {
    return Run("command -v " + Quote(program)).m_Status == 0;
}
