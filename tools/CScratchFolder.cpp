#include "CScratchFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

CScratchFolder::~CScratchFolder() {
    if (m_Folder.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_Folder, ignored);
}

bool CScratchFolder::Create(std::string& error) {
    std::error_code failed;
    std::filesystem::path parent = std::filesystem::temp_directory_path(failed);
    if (failed)
        parent = "/tmp";
    std::string pattern = (parent / "lumivexis-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        error = "cannot create a temporary folder in \"" + parent.string() + "\": " + std::strerror(errno);
        return false;
    }
    m_Folder = name.data();
    return true;
}

std::string CScratchFolder::Path(const std::string& name) const {
    return (std::filesystem::path(m_Folder) / name).string();
}
