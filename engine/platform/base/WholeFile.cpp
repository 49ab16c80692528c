#include "platform/base/WholeFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

// The path as given, or with slashes for backslashes when only that exists.
std::filesystem::path ExistingPath(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error) || path.find('\\') == std::string::npos)
        return path;
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return slashed;
}

}  // namespace

EWholeFile ReadWholeFile(const char* path, std::uint64_t maxBytes, std::vector<BYTE>& bytes) {
    bytes.clear();
    if (path == nullptr || *path == '\0')
        return EWholeFile::Missing;
    const std::filesystem::path file = ExistingPath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return EWholeFile::Missing;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return EWholeFile::Failed;
    if (size > maxBytes)
        return EWholeFile::TooLarge;
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        return EWholeFile::Missing;
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        bytes.clear();
        return EWholeFile::Failed;
    }
    return EWholeFile::Read;
}
