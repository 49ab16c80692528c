#pragma once
// Writes the GLSL 3.30 vertex and fragment shaders that emulate Direct3D 8's
// fixed-function pipeline for one state key: transforms or pre-transformed
// vertices, per-vertex lighting, texture coordinate selection, generation and
// transforms, point sizes, the texture stage cascade, specular, fog and alpha
// test. Values come from three uniform blocks (SFixedFunctionConstants.h);
// only the structure depends on the key.

#include <string>

#include "platform/d3d8/SFixedFunctionKey.h"

class CFixedFunctionShaderGenerator {
public:
    static std::string VertexShader(const SFixedFunctionKey& key);
    static std::string FragmentShader(const SFixedFunctionKey& key);
    // Names of the uniform blocks (transforms, vertex, pixel) and of the
    // sampler of a stage.
    static const char* TransformBlockName() { return "FixedFunctionTransforms"; }
    static const char* VertexBlockName() { return "FixedFunctionVertex"; }
    static const char* PixelBlockName() { return "FixedFunctionPixel"; }
    static std::string SamplerName(unsigned stage);

    // Pieces the translated shaders share with these programs:
    // the three uniform blocks' declarations;
    static std::string UniformBlocks();
    // statements that turn `vec4 clip` (Direct3D clip space) into
    // gl_Position: depth range and the pixel-centre and target fix-up;
    static std::string PositionOutput(const SFixedFunctionKey& key);
    // statements that fog `vec4 current` (reading `v_fog`) and discard the
    // fragment when the alpha test fails.
    static std::string FogAndAlphaTest(const SFixedFunctionKey& key);
    // The fog factor (1: no fog) of a D3DFOGMODE formula at the depth named
    // by the expression `depth`.
    static std::string FogFactor(unsigned formula, const char* depth);
};
