#pragma once
// Converts rows of A8R8G8B8 texels to and from the uncompressed texture
// formats this layer fills: A8R8G8B8, X8R8G8B8, R8G8B8, R5G6B5, X1R5G5B5,
// A1R5G5B5, A4R4G4B4, X4R4G4B4, A8, L8 and A8L8. Channels are rounded to the
// narrower widths; "X" bits are written as ones, so an X8R8G8B8 texel reads
// back opaque.

#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8types.h"

class CTexelConverter {
public:
    static bool IsSupported(D3DFORMAT format);
    // 0 for formats that are not supported.
    static UINT BytesPerTexel(D3DFORMAT format);
    // True when the format stores alpha.
    static bool HasAlpha(D3DFORMAT format);

    static void WriteRow(const DWORD* argb, UINT count, D3DFORMAT format, BYTE* destination);
    static void ReadRow(const BYTE* source, UINT count, D3DFORMAT format, DWORD* argb);

private:
    static DWORD Pack(DWORD argb, D3DFORMAT format);
    static DWORD Unpack(DWORD packed, D3DFORMAT format);
};
