#include "CRunDirectory.h"

#include <cstdlib>
#include <filesystem>

std::string CRunDirectory::StateDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return std::string(state) + "/lumivexis";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/state/lumivexis";
    return {};
}

std::string CRunDirectory::EnterStateDirectory() {
    std::error_code error;
    const std::string folder = StateDirectory();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (!error)
            std::filesystem::current_path(folder, error);
    }
    return std::filesystem::current_path(error).string();
}

std::string CRunDirectory::Absolute(const std::string& path) {
    if (path.empty() || path == "-")
        return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}
