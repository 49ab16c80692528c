#pragma once
// The uniform blocks of programmable shaders (std140), beside the three
// blocks of the fixed-function programs (SFixedFunctionConstants.h), which
// translated shaders also read for the pixel-centre fix-up, fog and alpha
// test. Translated vertex shaders read their 96 constants from the first
// block; pixel shaders read their 8 constants and the bump-mapping values of
// the texture stages from the second. The GLSL names of the two blocks'
// members differ (u_vsConstant, u_psConstant): block members share one name
// space across a linked program.

#include "platform/d3d8/D3D8ShaderTokens.h"

struct SVertexShaderConstants {
    float c[D3D8_VS_CONSTANT_REGISTERS][4];
};

struct SPixelShaderConstants {
    float c[D3D8_PS_CONSTANT_REGISTERS][4];
    float bumpMatrix[D3D8_PS_TEXTURE_REGISTERS][4];     // per stage: BUMPENVMAT00, 01, 10, 11
    float bumpLuminance[D3D8_PS_TEXTURE_REGISTERS][4];  // per stage: BUMPENVLSCALE, BUMPENVLOFFSET
};

// Binding points, after those of the fixed-function blocks.
constexpr unsigned kVertexShaderBlockBinding = 3;
constexpr unsigned kPixelShaderBlockBinding = 4;
