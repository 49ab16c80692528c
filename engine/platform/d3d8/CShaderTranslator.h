#pragma once
// Turns decoded Direct3D 8 shaders into GLSL 3.30 core: a vertex shader
// writes the same outputs as the fixed-function vertex program (v_diffuse,
// v_specular, v_texCoord0-7, v_fog, gl_Position through the shared position
// fix-up), a pixel shader reads them and ends with the shared fog and alpha
// test. Constants come from the uniform blocks of SShaderConstants.h; the
// fixed-function blocks are declared too (position fix-up, fog, alpha
// reference). The key supplies what the state changes: shading mode, fog,
// depth remap, alpha test and the texture types bound to stages 0-3.

#include <string>

#include "platform/d3d8/SFixedFunctionKey.h"
#include "platform/d3d8/SShaderProgram.h"

class CShaderTranslator {
public:
    // `program` must come from CShaderDecoder (of the matching kind).
    static std::string VertexShader(const SShaderProgram& program, const SFixedFunctionKey& key);
    static std::string PixelShader(const SShaderProgram& program, const SFixedFunctionKey& key);

    static const char* VertexConstantBlockName() { return "VertexShaderConstants"; }
    static const char* PixelConstantBlockName() { return "PixelShaderConstants"; }
    // The vertex attribute of input register v#: location = reg.
    static std::string AttributeName(unsigned reg);
};
