#pragma once
// Decodes the block-compressed surfaces DXT1, DXT3 and DXT5 (S3TC) into
// A8R8G8B8 texels. Each 4x4 block of texels is stored in 8 (DXT1) or 16 bytes
// (DXT3, DXT5), blocks in rows from the top; a surface whose width or height
// is not a multiple of 4 still stores whole blocks at its right and bottom
// edges, of which only the texels inside the surface are kept.

#include <cstddef>

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/CPixelImage.h"

class CDxtDecoder {
public:
    enum class Kind {
        Dxt1,
        Dxt3,
        Dxt5
    };

    static UINT BlockBytes(Kind kind) { return kind == Kind::Dxt1 ? 8u : 16u; }
    // Bytes of a width x height surface (at least one block each way).
    static std::size_t SurfaceBytes(Kind kind, UINT width, UINT height);

    // Decodes one block into 16 texels, row by row.
    static void DecodeBlock(Kind kind, const BYTE* block, DWORD texels[16]);
    // Decodes a surface; `data` holds SurfaceBytes(kind, width, height) bytes.
    static CPixelImage DecodeSurface(Kind kind, const BYTE* data, UINT width, UINT height);

private:
    // The colour half shared by all three kinds. DXT1 allows the
    // three-colour mode with transparent black; DXT3/5 always use four.
    static void DecodeColours(const BYTE* block, bool allowTransparent, DWORD texels[16]);
    static void DecodeExplicitAlpha(const BYTE* block, DWORD texels[16]);
    static void DecodeInterpolatedAlpha(const BYTE* block, DWORD texels[16]);
};
