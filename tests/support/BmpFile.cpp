#include "BmpFile.h"

#include <cstddef>

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

void PutLe(std::vector<BYTE>& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
}

// Each row of texels is padded to whole 32-bit words.
std::uint32_t RowBytes(int width) {
    return (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
}

void PutHeaders(std::vector<BYTE>& out, int width, int height, const SBmpLayout& layout) {
    const std::uint32_t dataBytes = RowBytes(width) * static_cast<std::uint32_t>(height);
    const std::int32_t storedHeight = layout.topDown ? -height : height;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, kFileHeaderBytes + kInfoHeaderBytes + dataBytes, 4);
    PutLe(out, 0, 4);  // reserved
    PutLe(out, kFileHeaderBytes + kInfoHeaderBytes, 4);
    PutLe(out, kInfoHeaderBytes, 4);
    PutLe(out, static_cast<std::uint32_t>(width), 4);
    PutLe(out, static_cast<std::uint32_t>(storedHeight), 4);
    PutLe(out, 1, 2);   // planes
    PutLe(out, 24, 2);  // bits per texel
    PutLe(out, 0, 4);   // BI_RGB: uncompressed
    PutLe(out, layout.recordsImageSize ? dataBytes : 0, 4);
    PutLe(out, static_cast<std::uint32_t>(layout.pixelsPerMetre), 4);
    PutLe(out, static_cast<std::uint32_t>(layout.pixelsPerMetre), 4);
    PutLe(out, 0, 4);  // colours used: none, there is no palette
    PutLe(out, 0, 4);  // important colours
}

void PutRow(std::vector<BYTE>& out, int width, int y, const BmpColourAt& rgbAt, BYTE padding) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t rgb = rgbAt(x, y);
        out.push_back(static_cast<BYTE>(rgb & 0xFF));  // blue, green, red
        out.push_back(static_cast<BYTE>((rgb >> 8) & 0xFF));
        out.push_back(static_cast<BYTE>((rgb >> 16) & 0xFF));
    }
    out.resize(out.size() + (RowBytes(width) - static_cast<std::uint32_t>(width) * 3), padding);
}

}  // namespace

std::vector<BYTE> EncodeBmp24(int width, int height, const BmpColourAt& rgbAt, const SBmpLayout& layout) {
    std::vector<BYTE> out;
    out.reserve(kFileHeaderBytes + kInfoHeaderBytes + static_cast<std::size_t>(RowBytes(width)) * height);
    PutHeaders(out, width, height, layout);
    for (int row = 0; row < height; ++row) {
        PutRow(out, width, layout.topDown ? row : height - 1 - row, rgbAt, layout.padding);
    }
    return out;
}
