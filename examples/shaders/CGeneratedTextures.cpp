#include "CGeneratedTextures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTileTextureSize = CGeneratedTextures::kTileTextureSize;
constexpr int kTilesAcross = 8;
constexpr int kTilesDown = 6;
constexpr float kGroutTexels = 1.5f;

void AppendWord(std::vector<BYTE>& out, std::uint16_t value) {
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void AppendDword(std::vector<BYTE>& out, std::uint32_t value) {
    AppendWord(out, static_cast<std::uint16_t>(value));
    AppendWord(out, static_cast<std::uint16_t>(value >> 16));
}

std::uint32_t Rgb(float r, float g, float b) {
    const auto channel = [](float value) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
    };
    return channel(r) << 16 | channel(g) << 8 | channel(b);
}

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, float t) {
    const auto channel = [&](int shift) {
        const float a = static_cast<float>((from >> shift) & 0xFF), b = static_cast<float>((to >> shift) & 0xFF);
        return static_cast<std::uint32_t>(std::lround(a + (b - a) * std::clamp(t, 0.0f, 1.0f))) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// Texels from texel (x, y) to the nearest tile edge.
float DistanceToGrout(int x, int y) {
    const float tileWidth = static_cast<float>(kTileTextureSize) / kTilesAcross;
    const float tileHeight = static_cast<float>(kTileTextureSize) / kTilesDown;
    const float inX = std::fmod(static_cast<float>(x) + 0.5f, tileWidth);
    const float inY = std::fmod(static_cast<float>(y) + 0.5f, tileHeight);
    return std::min(std::min(inX, tileWidth - inX), std::min(inY, tileHeight - inY));
}

// 0 in the grout, rising smoothly to 1 a few texels into the tile.
float TileRise(int x, int y) {
    const float t = std::clamp((DistanceToGrout(x, y) - kGroutTexels) / 4.0f, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// The direction through the centre of texel (x, y) of a cube face, in the
// faces' usual orientation.
D3DXVECTOR3 CubeDirection(int face, int x, int y, int size) {
    const float s = 2.0f * (static_cast<float>(x) + 0.5f) / static_cast<float>(size) - 1.0f;
    const float t = 2.0f * (static_cast<float>(y) + 0.5f) / static_cast<float>(size) - 1.0f;
    switch (face) {
    case 0:
        return {1.0f, -t, -s};
    case 1:
        return {-1.0f, -t, s};
    case 2:
        return {s, 1.0f, t};
    case 3:
        return {s, -1.0f, -t};
    case 4:
        return {s, -t, 1.0f};
    default:
        return {-s, -t, -1.0f};
    }
}

}  // namespace

std::uint32_t CGeneratedTextures::TileColour(int x, int y) {
    // Each tile a slightly different shade, so that the pattern reads as tiles.
    const int tile = (x * kTilesAcross / kTileTextureSize) * 7 + (y * kTilesDown / kTileTextureSize) * 13;
    const float shade = 0.85f + 0.15f * static_cast<float>(tile % 5) / 4.0f;
    const std::uint32_t terracotta = Rgb(0.80f * shade, 0.38f * shade, 0.22f * shade);
    return Mix(0x8A8580, terracotta, TileRise(x, y));
}

std::vector<BYTE> CGeneratedTextures::TileHeights() {
    return EncodeBmp(kTileTextureSize, kTileTextureSize, [](int x, int y) {
        const auto height = static_cast<std::uint32_t>(40.0f + 200.0f * TileRise(x, y));
        return height << 16 | height << 8 | height;
    });
}

std::vector<BYTE> CGeneratedTextures::ToonRamp() {
    constexpr int kWidth = 64;
    return EncodeBmp(kWidth, 16, [](int x, int) {
        const float facing = (static_cast<float>(x) + 0.5f) / kWidth;
        return facing < kRampThreshold ? kShadowTone : kLitTone;
    });
}

std::vector<BYTE> CGeneratedTextures::SkyCube(const D3DXVECTOR3& sun) {
    D3DXVECTOR3 towardsSun;
    D3DXVec3Normalize(&towardsSun, &sun);
    return EncodeCubeDds(64, [towardsSun](const D3DXVECTOR3& d) {
        constexpr std::uint32_t kHorizon = 0xDCE6F0, kZenith = 0x1F4FAE;
        if (d.y < 0.0f) {
            // The ground plane one unit below, in squares of 2.5 units.
            const float gx = 0.4f * d.x / -d.y, gz = 0.4f * d.z / -d.y;
            const bool dark = ((static_cast<int>(std::floor(gx)) + static_cast<int>(std::floor(gz))) & 1) != 0;
            return Mix(kHorizon, dark ? 0x6E5740 : 0xA88F66, -d.y * 4.0f);
        }
        std::uint32_t sky = Mix(kHorizon, kZenith, std::sqrt(d.y));
        const float sunCosine = D3DXVec3Dot(&d, &towardsSun);
        if (sunCosine > 0.97f) {
            sky = Mix(sky, 0xFFF6D8, (sunCosine - 0.97f) / 0.025f);
        }
        return sky;
    });
}

IDirect3DTexture8* CGeneratedTextures::CreateTexture(IDirect3DDevice8& device, int width, int height,
                                                     const TexelColour& colour) {
    IDirect3DTexture8* texture = nullptr;
    if (FAILED(device.CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, 0, D3DFMT_A8R8G8B8,
                                    D3DPOOL_MANAGED, &texture))) {
        return nullptr;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) {
        texture->Release();
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < width; ++x) {
            row[x] = 0xFF000000u | colour(x, y);
        }
    }
    texture->UnlockRect(0);
    return texture;
}

std::vector<BYTE> CGeneratedTextures::EncodeBmp(int width, int height, const TexelColour& colour) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const auto imageBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::vector<BYTE> out;
    out.push_back('B');
    out.push_back('M');
    AppendDword(out, 54 + imageBytes);  // file size
    AppendDword(out, 0);
    AppendDword(out, 54);  // pixel data offset
    AppendDword(out, 40);  // BITMAPINFOHEADER
    AppendDword(out, static_cast<std::uint32_t>(width));
    AppendDword(out, static_cast<std::uint32_t>(height));  // bottom-up
    AppendWord(out, 1);
    AppendWord(out, 24);
    for (int i = 0; i < 6; ++i) {
        AppendDword(out, 0);  // no compression, sizes and palette unused
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = colour(x, y);
            out.push_back(static_cast<BYTE>(rgb));
            out.push_back(static_cast<BYTE>(rgb >> 8));
            out.push_back(static_cast<BYTE>(rgb >> 16));
        }
        out.resize(out.size() + static_cast<size_t>(rowBytes - width * 3), 0);
    }
    return out;
}

std::vector<BYTE> CGeneratedTextures::EncodeCubeDds(int size, const DirectionColour& colour) {
    constexpr std::uint32_t kHeaderFlags = 0x1 | 0x2 | 0x4 | 0x8 | 0x1000;  // caps, height, width, pitch, format
    constexpr std::uint32_t kRgbWithAlpha = 0x40 | 0x1;
    constexpr std::uint32_t kComplexTexture = 0x8 | 0x1000;
    constexpr std::uint32_t kCubeWithAllFaces = 0x200 | 0xFC00;
    std::vector<BYTE> out = {'D', 'D', 'S', ' '};
    AppendDword(out, 124);
    AppendDword(out, kHeaderFlags);
    AppendDword(out, static_cast<std::uint32_t>(size));  // height
    AppendDword(out, static_cast<std::uint32_t>(size));  // width
    AppendDword(out, static_cast<std::uint32_t>(size * 4));
    AppendDword(out, 0);  // depth
    AppendDword(out, 1);  // mip levels
    for (int i = 0; i < 11; ++i) {
        AppendDword(out, 0);
    }
    AppendDword(out, 32);  // pixel format
    AppendDword(out, kRgbWithAlpha);
    AppendDword(out, 0);
    AppendDword(out, 32);
    AppendDword(out, 0x00FF0000);
    AppendDword(out, 0x0000FF00);
    AppendDword(out, 0x000000FF);
    AppendDword(out, 0xFF000000);
    AppendDword(out, kComplexTexture);
    AppendDword(out, kCubeWithAllFaces);
    for (int i = 0; i < 3; ++i) {
        AppendDword(out, 0);
    }
    for (int face = 0; face < 6; ++face) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                D3DXVECTOR3 direction = CubeDirection(face, x, y, size);
                D3DXVec3Normalize(&direction, &direction);
                AppendDword(out, 0xFF000000u | colour(direction));
            }
        }
    }
    return out;
}
