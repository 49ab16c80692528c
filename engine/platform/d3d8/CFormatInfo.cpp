#include "platform/d3d8/CFormatInfo.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <array>

namespace {

constexpr int kRGBA[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};

SFormatInfo Colour(D3DFORMAT f, UINT bpp, GLenum internal, GLenum format, GLenum type, bool renderable = true) {
    return {f, bpp, 0, internal, format, type, {kRGBA[0], kRGBA[1], kRGBA[2], kRGBA[3]}, false, false, renderable};
}

SFormatInfo Swizzled(D3DFORMAT f, UINT bpp, GLenum internal, GLenum format, GLenum type, int r, int g, int b, int a) {
    return {f, bpp, 0, internal, format, type, {r, g, b, a}, false, false, false};
}

SFormatInfo Depth(D3DFORMAT f, UINT bpp, GLenum internal, GLenum format, GLenum type, bool stencil) {
    return {f, bpp, 0, internal, format, type, {kRGBA[0], kRGBA[1], kRGBA[2], kRGBA[3]}, true, stencil, true};
}

SFormatInfo Compressed(D3DFORMAT f, UINT blockBytes, GLenum internal) {
    return {f, 0, blockBytes, internal, 0, 0, {kRGBA[0], kRGBA[1], kRGBA[2], kRGBA[3]}, false, false, false};
}

const std::array<SFormatInfo, 17>& Table() {
    // Formats without alpha use an RGB internal format so that sampling and
    // blending see alpha 1, as Direct3D does.
    static const std::array<SFormatInfo, 17> table = {
        Colour(D3DFMT_A8R8G8B8, 4, GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV),
        Colour(D3DFMT_X8R8G8B8, 4, GL_RGB8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV),
        Colour(D3DFMT_R5G6B5, 2, GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5),
        Colour(D3DFMT_A4R4G4B4, 2, GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV),
        Colour(D3DFMT_X4R4G4B4, 2, GL_RGB8, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV),
        Colour(D3DFMT_A1R5G5B5, 2, GL_RGBA8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV),
        Colour(D3DFMT_X1R5G5B5, 2, GL_RGB8, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV),
        Swizzled(D3DFMT_A8, 1, GL_R8, GL_RED, GL_UNSIGNED_BYTE, GL_ZERO, GL_ZERO, GL_ZERO, GL_RED),
        Swizzled(D3DFMT_L8, 1, GL_R8, GL_RED, GL_UNSIGNED_BYTE, GL_RED, GL_RED, GL_RED, GL_ONE),
        Swizzled(D3DFMT_A8L8, 2, GL_RG8, GL_RG, GL_UNSIGNED_BYTE, GL_RED, GL_RED, GL_RED, GL_GREEN),
        Depth(D3DFMT_D16, 2, GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, false),
        Depth(D3DFMT_D16_LOCKABLE, 2, GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, false),
        Depth(D3DFMT_D24S8, 4, GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, true),
        Depth(D3DFMT_D24X8, 4, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, false),
        Compressed(D3DFMT_DXT1, 8, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT),
        Compressed(D3DFMT_DXT3, 16, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT),
        Compressed(D3DFMT_DXT5, 16, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT),
    };
    return table;
}

}  // namespace

const SFormatInfo* CFormatInfo::Find(D3DFORMAT format) {
    for (const SFormatInfo& info : Table())
        if (info.format == format)
            return &info;
    return nullptr;
}

UINT CFormatInfo::RowPitch(const SFormatInfo& info, UINT width) {
    if (info.bytesPerBlock != 0)
        return std::max(1u, (width + 3) / 4) * info.bytesPerBlock;
    return width * info.bytesPerPixel;
}

UINT CFormatInfo::RowCount(const SFormatInfo& info, UINT height) {
    if (info.bytesPerBlock != 0)
        return std::max(1u, (height + 3) / 4);
    return height;
}

UINT CFormatInfo::LevelSize(const SFormatInfo& info, UINT width, UINT height) {
    return RowPitch(info, width) * RowCount(info, height);
}

UINT CFormatInfo::FullMipCount(UINT width, UINT height) {
    UINT levels = 1;
    UINT size = std::max(width, height);
    while (size > 1) {
        size /= 2;
        ++levels;
    }
    return levels;
}
