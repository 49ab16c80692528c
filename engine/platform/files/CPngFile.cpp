#include "platform/files/CPngFile.h"

#include <cerrno>
#include <cstring>

#include "platform/files/CAtomicFile.h"
#include "platform/files/CPngWriter.h"

bool CPngFile::Encode(int width, int height, const std::vector<std::uint32_t>& argb, std::vector<std::uint8_t>& png,
                      std::string& error) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        error = "no frame to write";
        return false;
    }
    std::vector<std::uint8_t> rgba(argb.size() * 4);
    for (size_t i = 0; i < argb.size(); ++i) {
        const std::uint32_t pixel = argb[i];
        rgba[i * 4 + 0] = static_cast<std::uint8_t>(pixel >> 16);
        rgba[i * 4 + 1] = static_cast<std::uint8_t>(pixel >> 8);
        rgba[i * 4 + 2] = static_cast<std::uint8_t>(pixel);
        // The back buffer's alpha is whatever the blending left there; a
        // picture of the screen is opaque.
        rgba[i * 4 + 3] = 0xFF;
    }
    CPngWriter writer;
    if (!writer.Encode(width, height, rgba)) {
        error = writer.GetError();
        return false;
    }
    png = writer.GetBytes();
    return true;
}

bool CPngFile::Write(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb,
                     std::string& error) {
    std::vector<std::uint8_t> png;
    if (!Encode(width, height, argb, png, error))
        return false;
    return CAtomicFile::WriteWhole(path, png.data(), png.size(), error);
}

bool CPngFile::WriteTo(std::FILE* stream, int width, int height, const std::vector<std::uint32_t>& argb,
                       std::string& error) {
    std::vector<std::uint8_t> png;
    if (!Encode(width, height, argb, png, error))
        return false;
    if (std::fwrite(png.data(), 1, png.size(), stream) != png.size() || std::fflush(stream) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}
