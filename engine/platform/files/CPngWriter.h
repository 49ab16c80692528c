#pragma once
// Encodes 8-bit RGBA pixels as a PNG image (colour type RGBA, 32 bits per
// pixel) with libpng.

#include <cstdint>
#include <string>
#include <vector>

class CPngWriter {
public:
    // rgba: width × height pixels, 4 bytes each, top row first. False with
    // GetError() set when the size does not match or libpng fails.
    bool Encode(int width, int height, const std::vector<std::uint8_t>& rgba);

    const std::vector<std::uint8_t>& GetBytes() const { return m_bytes; }
    const std::string& GetError() const { return m_error; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::string m_error;
};
