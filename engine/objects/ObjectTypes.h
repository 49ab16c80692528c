#pragma once
// Value types shared by every renderable object: the vertex layouts, the
// projection, fill and effect-texture enumerations, the render-target pair
// and the texel of a locked texture.

#include <cstdint>

#include "platform/d3d8/d3d8.h"

// One vertex of the fixed-function layout: position, normal and two texture
// coordinate pairs (40 bytes, flexible vertex format XYZ | NORMAL | TEX2).
struct S3DVERTEX {
    float x, y, z;
    float nx, ny, nz;
    float tu1, tv1;
    float tu2, tv2;
};
static_assert(sizeof(S3DVERTEX) == 40, "S3DVERTEX is 40 bytes");

// The shader layout: two S3DVERTEX slots per vertex. The first is the
// object's own vertex; the second belongs to the attached shader effect
// (diffuse colour, tangent frame).
struct S3DVERTEX_FORSHADER {
    S3DVERTEX vertex;
    S3DVERTEX effect;
};
static_assert(sizeof(S3DVERTEX_FORSHADER) == 80, "S3DVERTEX_FORSHADER is 80 bytes");

constexpr DWORD D3DFVF_3DVERTEX = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;                             // 0x212
constexpr DWORD D3DFVF_3DVERTEX_FORSHADER = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX4;  // 0x452
static_assert(D3DFVF_3DVERTEX == 0x212 && D3DFVF_3DVERTEX_FORSHADER == 0x452, "flexible vertex formats");

enum ProjectionMode : int {
    PM_PIXEL_OVERLAY = 0,   // orthographic over the client area in pixels, view = identity
    PM_SCREEN_OVERLAY = 1,  // orthographic 1 x 1 (the screen spans -0.5 .. 0.5), view = identity
    PM_PERSPECTIVE = 2,     // the scene camera's view and a perspective projection
};

enum TFillMode : int {
    FM_SOLID = 0,
    FM_WIREFRAME = 1,
    FM_POINT = 2,
};

enum EffectTextureType : int {
    ETT_TEXTURE = 0,    // plain texture
    ETT_NORMALMAP = 1,  // the image is a height map, converted to a normal map
    ETT_CUBEMAP = 2,    // cube texture
};

// A texture and the depth-stencil surface that go together when rendering
// into the texture.
struct TextureBuffer {
    IDirect3DTexture8* texture = nullptr;
    IDirect3DSurface8* surface = nullptr;
};

// One texel of a locked D3DFMT_A8R8G8B8 texture, in memory order.
struct SPixel {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t alpha;
};
static_assert(sizeof(SPixel) == 4, "SPixel is one 32-bit texel");
