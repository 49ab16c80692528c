#pragma once
// Files for the fuzz targets whose parsers read from a path (particle and
// path files): a file of the process's own in the temporary folder, written
// with the fuzzer's bytes and read back whole. Any failure aborts: it is the
// harness's, not the parser's.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzfiles {

// pattern ends in "XXXXXX" (mkstemp).
inline std::string TemporaryFile(const char* pattern) {
    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder != nullptr && folder[0] != '\0' ? folder : "/tmp") + "/" + pattern;
    const int descriptor = mkstemp(path.data());
    if (descriptor < 0) {
        std::perror("fuzz target: mkstemp");
        std::abort();
    }
    close(descriptor);
    return path;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size)) {
        std::abort();
    }
    std::fclose(file);
}

inline std::string ReadFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::abort();
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    std::fclose(file);
    return text;
}

}  // namespace fuzzfiles
