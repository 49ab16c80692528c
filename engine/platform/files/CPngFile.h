#pragma once
// Writes a frame read back from the engine (0xAARRGGBB pixels, top row
// first) as an RGBA PNG image: into a file, replaced only once it is
// complete, or onto a stream (frames piped into a video encoder).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CPngFile {
public:
    // Encodes the frame; false with the reason in error.
    static bool Encode(int width, int height, const std::vector<std::uint32_t>& argb, std::vector<std::uint8_t>& png,
                       std::string& error);
    static bool Write(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb,
                      std::string& error);
    static bool WriteTo(std::FILE* stream, int width, int height, const std::vector<std::uint32_t>& argb,
                        std::string& error);
};
