#pragma once
// Reads DirectDraw Surface (.dds) files: plain 2D images and cube maps, with
// or without mip levels, stored uncompressed (8, 16, 24 or 32 bits per texel
// described by channel masks: RGB, luminance, alpha) or block-compressed
// (DXT1, DXT3, DXT5). Parse checks the header and that every surface lies
// inside the buffer before anything is decoded; the buffer must outlive the
// object.
//
// Layout: "DDS " (4 bytes), a 124-byte header holding a 32-byte pixel
// format, then the surfaces: for each face (one, or six in the order +X, -X,
// +Y, -Y, +Z, -Z), each of its mip levels from the largest down.

#include <cstddef>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8types.h"
#include "platform/d3dxtex/CDxtDecoder.h"
#include "platform/d3dxtex/CPixelImage.h"

class CDdsFile {
public:
    static constexpr std::size_t kHeaderBytes = 4 + 124;

    // True when the buffer starts with the "DDS " magic.
    static bool HasSignature(const BYTE* data, std::size_t size);

    // S_OK, D3DXERR_INVALIDDATA for a damaged or unsupported file, or
    // E_OUTOFMEMORY for edges beyond maxEdge.
    HRESULT Parse(const BYTE* data, std::size_t size, UINT maxEdge);

    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    UINT LevelCount() const { return m_levelCount; }
    UINT FaceCount() const { return m_cubeMap ? 6u : 1u; }
    bool IsCubeMap() const { return m_cubeMap; }
    bool HasAlpha() const { return m_hasAlpha; }
    // The file's texel format (D3DFMT_DXT1, D3DFMT_R5G6B5, ...).
    D3DFORMAT StoredFormat() const { return m_storedFormat; }

    // Level `level` of face `face`, decoded (both must be in range).
    CPixelImage DecodeSurface(UINT face, UINT level) const;

private:
    struct ChannelMask {
        DWORD mask = 0;
        UINT shift = 0;
        UINT bits = 0;
    };

    HRESULT ReadPixelFormat(const BYTE* format);
    HRESULT ReadMaskedFormat(DWORD flags, const BYTE* format);
    std::size_t SurfaceBytes(UINT level) const;
    CPixelImage DecodeMasked(const BYTE* texels, UINT width, UINT height) const;
    static ChannelMask DescribeMask(DWORD mask);
    static DWORD Extract(DWORD value, const ChannelMask& channel, DWORD absent);

    const BYTE* m_data = nullptr;
    UINT m_width = 0;
    UINT m_height = 0;
    UINT m_levelCount = 0;
    bool m_cubeMap = false;
    bool m_hasAlpha = false;
    D3DFORMAT m_storedFormat = D3DFMT_UNKNOWN;

    bool m_compressed = false;
    CDxtDecoder::Kind m_dxtKind = CDxtDecoder::Kind::Dxt1;
    UINT m_bytesPerTexel = 0;
    bool m_luminance = false;
    ChannelMask m_red, m_green, m_blue, m_alpha;

    // Offset of each surface, face-major: m_offsets[face * levels + level].
    std::vector<std::size_t> m_offsets;
};
