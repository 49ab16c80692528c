#include "CPlayerSettings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files/CAtomicFile.h"

namespace {

// A whole number from min to max, else nothing.
std::optional<int> ParseSmallInt(const std::string& text, int min, int max) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int value = std::atoi(text.c_str());
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

}  // namespace

std::string CPlayerSettings::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return std::string(config) + "/lumivexis/player.conf";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.config/lumivexis/player.conf";
    return {};
}

std::optional<SPlayerSettings> CPlayerSettings::Load(const std::string& path) {
    std::ifstream in(path);
    if (path.empty() || !in)
        return std::nullopt;
    SPlayerSettings settings;
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "resolution") {
            if (auto v = ParseSmallInt(value, 0, 4))
                settings.resolution = static_cast<TResolutionEnum>(*v);
        } else if (key == "colordepth") {
            if (auto v = ParseSmallInt(value, 0, 1))
                settings.colorDepth = *v;
        } else if (key == "fullscreen") {
            if (auto v = ParseSmallInt(value, 0, 1))
                settings.fullscreen = *v != 0;
        } else if (key == "showinfo") {
            if (auto v = ParseSmallInt(value, 0, 1))
                settings.showInfo = *v != 0;
        }
    }
    return settings;
}

bool CPlayerSettings::Save(const std::string& path, const SPlayerSettings& settings, std::string& error) {
    if (path.empty()) {
        error = "neither XDG_CONFIG_HOME nor HOME is set";
        return false;
    }
    std::error_code created;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), created);
    if (created) {
        error = created.message();
        return false;
    }
    std::ostringstream text;
    text << "# Lumivexis player settings\n"
         << "resolution=" << static_cast<int>(settings.resolution) << "\n"
         << "colordepth=" << settings.colorDepth << "\n"
         << "fullscreen=" << (settings.fullscreen ? 1 : 0) << "\n"
         << "showinfo=" << (settings.showInfo ? 1 : 0) << "\n";
    const std::string bytes = text.str();
    return CAtomicFile::WriteWhole(path, bytes.data(), bytes.size(), error);
}

SPlayerSettings CPlayerSettings::FromScreen(CScreen& screen) {
    SPlayerSettings settings;
    settings.resolution = screen.GetResolution();
    settings.colorDepth = screen.GetColorDepth();
    settings.fullscreen = screen.GetFullscreen();
    settings.showInfo = screen.GetViewInfo();
    return settings;
}

void CPlayerSettings::ApplyToScreen(const SPlayerSettings& settings, CScreen& screen) {
    screen.SetResolution(settings.resolution);
    screen.SetColorDepth(settings.colorDepth);
    screen.SetFullscreen(settings.fullscreen);
    screen.ViewInfo(settings.showInfo);
}
