#pragma once
// The example's textures, made in code as image files in memory (so that
// they load through the engine's ordinary texture paths: uncompressed BMP
// for the flat ones, a DDS cube map for the environment) or straight into
// a texture of the device.
//
//   const std::vector<BYTE> heights = CGeneratedTextures::TileHeights();
//   sphere.SetEffectTexture(heights.data(), (int)heights.size(),
//   ETT_NORMALMAP);

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/d3d8/d3d8.h"
#include "platform/d3dx/d3dx8math.h"

class CGeneratedTextures {
public:
    // The tones of the cartoon ramp (0xRRGGBB) and where N.L turns from one
    // to the other.
    static constexpr std::uint32_t kShadowTone = 0x2E7A4A;
    static constexpr std::uint32_t kLitTone = 0x8EE070;
    static constexpr float kRampThreshold = 0.3f;

    // Terracotta tiles with grey grout, 8 across and 6 down, on a
    // kTileTextureSize square texture.
    static constexpr int kTileTextureSize = 256;
    static std::uint32_t TileColour(int x, int y);
    // The tiles' height map: each tile a low dome, the grout a groove.
    static std::vector<BYTE> TileHeights();
    // u = N.L from 0 to 1: the shadow tone below the threshold, the lit tone
    // above it, whatever v (N.V) is.
    static std::vector<BYTE> ToonRamp();
    // A sky fading from a pale horizon to deep blue with a sun towards
    // `sun`, over a checkered ground.
    static std::vector<BYTE> SkyCube(const D3DXVECTOR3& sun);

    // The colour (0xRRGGBB) of texel (x, y), y = 0 the top row.
    using TexelColour = std::function<std::uint32_t(int x, int y)>;
    // The colour towards a unit direction.
    using DirectionColour = std::function<std::uint32_t(const D3DXVECTOR3& direction)>;

    // A 24-bit BMP file.
    static std::vector<BYTE> EncodeBmp(int width, int height, const TexelColour& colour);
    // A managed A8R8G8B8 texture of one level, opaque; null on failure.
    static IDirect3DTexture8* CreateTexture(IDirect3DDevice8& device, int width, int height, const TexelColour& colour);
    // A DDS cube map of six size x size A8R8G8B8 faces (+x, -x, +y, -y, +z,
    // -z), each texel coloured by the direction through its centre.
    static std::vector<BYTE> EncodeCubeDds(int size, const DirectionColour& colour);
};
