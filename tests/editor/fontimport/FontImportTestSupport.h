#pragma once
// Helpers of the font importer tests: a scratch folder, reading files back,
// decoding PNG images.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder below the test's working directory, removed with its contents.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    // The names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path m_path;
};

struct SDecodedPng {
    bool ok = false;
    int width = 0;
    int height = 0;
    bool storedAsRgba = false;       // 8-bit RGBA in the file itself
    std::vector<std::uint8_t> rgba;  // top row first
};

SDecodedPng ReadPng(const std::string& path);
std::string ReadText(const std::string& path);
std::vector<std::string> SplitLines(const std::string& text);  // at line feeds, which stay out
