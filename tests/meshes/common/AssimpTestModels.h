#pragma once
// The real .3ds, .lwo and .x files of Debian's assimp-testmodels package,
// which the mesh tests read when it is installed (the set-up installs it):
// where they lie, which of them a test wants, and their bytes.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace testmodels {

const std::filesystem::path kPackage = "/usr/share/assimp";
const std::filesystem::path kModels = kPackage / "models";

inline std::vector<BYTE> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<BYTE>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// ".LWO" and ".lwo" alike.
inline std::string LowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The regular files below `folder` that `wanted` accepts, sorted; none when
// the folder does not exist.
inline std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder,
                                                     const std::function<bool(const std::filesystem::path&)>& wanted) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(folder)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && wanted(entry.path())) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace testmodels
