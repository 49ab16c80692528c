#pragma once
// What Direct3D 8 computes for one instruction, on the CPU, written from the
// instruction set's documentation, for the tests to compare the GLSL with.

#include <array>

#include "platform/d3d8/D3D8ShaderTokens.h"

namespace shaderreference {

using Vec4 = std::array<float, 4>;

Vec4 Swizzled(const Vec4& value, DWORD swizzle);  // 8 bits, two per component
// A vs.1.1 instruction (not the matrix macros) or ps.1.1 arithmetic on
// already modified sources.
Vec4 Operation(DWORD opcode, const Vec4& a, const Vec4& b, const Vec4& c);
// m4x4 .. m3x2 with the rows of the matrix; unproduced components 0.
Vec4 Matrix(DWORD opcode, const Vec4& vector, const Vec4* rows);
// ps.1.1: a source modifier (D3DSPSM_*), and the result shift (-1, 0, 1,
// 2) with saturation or the [-1, 1] clamp.
Vec4 PixelSource(const Vec4& value, DWORD modifier);
Vec4 PixelResult(const Vec4& value, int shift, bool saturate);

}  // namespace shaderreference
