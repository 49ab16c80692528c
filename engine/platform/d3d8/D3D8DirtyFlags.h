#pragma once
// Which parts of the GL state must be brought in line with the device state
// before the next draw. Setters raise bits; the renderer clears them.

#include <cstdint>

#include "platform/d3d8/d3d8types.h"

namespace d3d8dirty {

constexpr std::uint32_t kProgram = 1u << 0;     // fixed-function key, shaders
constexpr std::uint32_t kTransforms = 1u << 1;  // world, view, projection
constexpr std::uint32_t kTextureMatrices = 1u << 2;
constexpr std::uint32_t kLights = 1u << 3;
constexpr std::uint32_t kMaterial = 1u << 4;  // material, ambient and point values
constexpr std::uint32_t kFrame = 1u << 5;     // viewport transform and pixel fix-up
constexpr std::uint32_t kBlend = 1u << 6;     // blending and colour mask
constexpr std::uint32_t kDepth = 1u << 7;
constexpr std::uint32_t kRaster = 1u << 8;  // cull, fill, z-bias
constexpr std::uint32_t kStencil = 1u << 9;
constexpr std::uint32_t kViewport = 1u << 10;
constexpr std::uint32_t kTarget = 1u << 11;
constexpr std::uint32_t kTextures = 1u << 12;
constexpr std::uint32_t kSamplers = 1u << 13;
constexpr std::uint32_t kVertexInput = 1u << 14;
constexpr std::uint32_t kIndices = 1u << 15;
constexpr std::uint32_t kPixel = 1u << 16;  // fog, texture factor, alpha reference
constexpr std::uint32_t kVertexShaderConstants = 1u << 17;
constexpr std::uint32_t kPixelShaderConstants = 1u << 18;  // and the stages' bump-mapping values
constexpr std::uint32_t kAll = 0x7FFFFu;

// The bits a render state change raises.
std::uint32_t ForRenderState(DWORD state);
// The bits a texture stage state change raises.
std::uint32_t ForStageState(DWORD type);

}  // namespace d3d8dirty
