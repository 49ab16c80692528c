#pragma once
// How each Direct3D surface format is laid out in memory and how it maps onto
// an OpenGL texture or renderbuffer. Memory layouts are Direct3D's: A8R8G8B8
// texels are the bytes B, G, R, A; 16-bit formats are little-endian words.

#include "platform/d3d8/d3d8types.h"

struct SFormatInfo {
    D3DFORMAT format;
    UINT bytesPerPixel;       // 0 for block-compressed formats
    UINT bytesPerBlock;       // 4 x 4 blocks of DXT formats; 0 otherwise
    unsigned internalFormat;  // GLenum
    unsigned uploadFormat;    // GLenum
    unsigned uploadType;      // GLenum
    int swizzle[4];           // GL swizzle of r, g, b, a (GL_RED.., GL_ONE, GL_ZERO)
    bool depth;
    bool stencil;
    bool renderable;
};

class CFormatInfo {
public:
    // Null for formats this layer does not support.
    static const SFormatInfo* Find(D3DFORMAT format);
    static UINT RowPitch(const SFormatInfo& info, UINT width);
    // Number of rows a level has in memory (block rows for DXT formats).
    static UINT RowCount(const SFormatInfo& info, UINT height);
    static UINT LevelSize(const SFormatInfo& info, UINT width, UINT height);
    // Level count of a full mip chain down to 1 x 1.
    static UINT FullMipCount(UINT width, UINT height);
};
