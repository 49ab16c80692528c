#pragma once
// Turns a height field into a tangent-space normal map, as
// D3DXComputeNormalMap does. The height of a texel is one channel of the
// source (0..255 read as 0..1). Its slopes are central differences,
//   dx = (h(x+1, y) - h(x-1, y)) / 2,   dy = (h(x, y+1) - h(x, y-1)) / 2,
// with neighbours beyond an edge taken from the opposite edge (wrap), or
// from the edge itself when the MIRROR flag for that axis is given. The
// normal is normalize(-dx * amplitude, -dy * amplitude, 1) (both signs
// flipped with INVERTSIGN), packed from -1..1 into 0..255 as x -> red,
// y -> green, z -> blue; alpha is 255, or with COMPUTE_OCCLUSION the share of
// the sky the texel sees over the surrounding heights.

#include "platform/base/WinTypes.h"
#include "platform/d3dxtex/CPixelImage.h"

class CNormalMapGenerator {
public:
    // channel: one or more D3DX_CHANNEL_* bits (several are averaged;
    // LUMINANCE wins over the others). flags: D3DX_NORMALMAP_* bits.
    CNormalMapGenerator(DWORD channel, DWORD flags, float amplitude);

    static bool IsValidChannel(DWORD channel);
    static bool AreValidFlags(DWORD flags);

    CPixelImage Generate(const CPixelImage& heights) const;

private:
    class HeightField;

    DWORD PackNormal(const HeightField& field, int x, int y) const;
    DWORD OcclusionAlpha(const HeightField& field, int x, int y) const;

    DWORD m_channel;
    DWORD m_flags;
    float m_amplitude;
};
