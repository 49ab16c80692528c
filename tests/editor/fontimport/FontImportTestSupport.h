#pragma once
// Helpers of the font importer tests: reading files back, decoding PNG
// images.

#include <cstdint>
#include <string>
#include <vector>

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
