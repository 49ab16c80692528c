#include "platform/d3dxtex/CRasterLengthCheck.h"

#include <cstdint>
#include <cstdlib>

namespace {

DWORD ReadLe(const BYTE* p, int bytes) {
    DWORD value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<DWORD>(p[i]) << (8 * i);
    }
    return value;
}

// BMP compression values whose texels are stored plainly.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;

}  // namespace

bool CRasterLengthCheck::IsComplete(D3DXIMAGE_FILEFORMAT format, const BYTE* data, std::size_t size) {
    switch (format) {
    case D3DXIFF_BMP:
        return IsCompleteBmp(data, size);
    case D3DXIFF_TGA:
        return IsCompleteTga(data, size);
    default:
        return true;
    }
}

// File header (14 bytes: "BM", size, reserved, offset of the texels), then
// an info header of at least 40 bytes (size, width, height, planes, bits
// per pixel, compression) for every variant with compression.
bool CRasterLengthCheck::IsCompleteBmp(const BYTE* data, std::size_t size) {
    if (size < 14 + 20) {
        return false;
    }
    const DWORD texelOffset = ReadLe(data + 10, 4);
    const DWORD infoSize = ReadLe(data + 14, 4);
    if (infoSize < 40) {
        return true;  // OS/2 1.x core header: left to the decoder
    }
    const UINT64 width = static_cast<LONG>(ReadLe(data + 18, 4)) < 0 ? 0 : ReadLe(data + 18, 4);
    const LONG signedHeight = static_cast<LONG>(ReadLe(data + 22, 4));
    const UINT64 height = static_cast<UINT64>(std::abs(static_cast<std::int64_t>(signedHeight)));
    const UINT64 bitsPerPixel = ReadLe(data + 28, 2);
    const DWORD compression = ReadLe(data + 30, 4);
    if (compression != BI_RGB && compression != BI_BITFIELDS) {
        return true;
    }
    const UINT64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return texelOffset + rowBytes * height <= size;
}

// 18-byte header: id length, colour-map type, image type, colour-map
// origin, length and entry size, origin, width, height, bits, descriptor.
bool CRasterLengthCheck::IsCompleteTga(const BYTE* data, std::size_t size) {
    if (size < 18) {
        return false;
    }
    const BYTE imageType = data[2];
    if (imageType != 1 && imageType != 2 && imageType != 3) {
        return true;  // run-length encoded
    }
    const UINT64 idLength = data[0];
    const UINT64 mapBytes = data[1] == 1 ? UINT64{ReadLe(data + 5, 2)} * ((data[7] + 7u) / 8u) : 0;
    const UINT64 width = ReadLe(data + 12, 2);
    const UINT64 height = ReadLe(data + 14, 2);
    const UINT64 texelBytes = (data[16] + 7u) / 8u;
    return 18 + idLength + mapBytes + width * height * texelBytes <= size;
}
