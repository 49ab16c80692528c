#pragma once
// The uniform block every fixed-function program reads (std140 layout). The
// device fills it from its state and uploads only the groups that changed.
// Matrices are stored as Direct3D's row-major matrices; GLSL reads them as
// column-major, which turns v * M into M * v without any transposing.

#include <cstddef>

struct SLightConstants {
    float diffuse[4];
    float specular[4];
    float ambient[4];
    float position[4];     // view space; w = range
    float direction[4];    // view space, towards where the light shines; w = falloff
    float attenuation[4];  // a0, a1, a2
    float spot[4];         // cos(theta / 2), cos(phi / 2)
};

struct SFixedFunctionConstants {
    // group: transforms
    float worldView[16];
    float projection[16];
    float normalMatrix[16];
    // group: texture transforms
    float textureMatrix[8][16];
    // group: frame (viewport and render target)
    float viewportTransform[4];  // pre-transformed vertices: ndc = xy * (x, y) + (z, w)
    float positionFixup[4];      // x: 1 / width, y: y sign, z: -sign / height
    // group: material and pipeline values
    float materialDiffuse[4];
    float materialAmbient[4];
    float materialSpecular[4];
    float materialEmissive[4];
    float materialPower[4];
    float globalAmbient[4];
    float fogColor[4];
    float fogParams[4];  // start, end, density, 1 / (end - start)
    float textureFactor[4];
    float alphaReference[4];
    float pointParams[4];  // size, min, max, viewport height
    float pointScale[4];   // A, B, C
    // group: lights
    SLightConstants lights[8];
};

// Byte ranges of the groups inside the block.
struct SConstantRange {
    std::size_t offset;
    std::size_t size;
};
constexpr SConstantRange kTransformConstants{offsetof(SFixedFunctionConstants, worldView), 3 * 64};
constexpr SConstantRange kTextureMatrixConstants{offsetof(SFixedFunctionConstants, textureMatrix), 8 * 64};
constexpr SConstantRange kFrameConstants{offsetof(SFixedFunctionConstants, viewportTransform), 2 * 16};
constexpr SConstantRange kMaterialConstants{offsetof(SFixedFunctionConstants, materialDiffuse), 12 * 16};
constexpr SConstantRange kLightConstants{offsetof(SFixedFunctionConstants, lights), 8 * sizeof(SLightConstants)};
