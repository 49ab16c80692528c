#pragma once
// The small pieces of GLSL text that the translated vertex and pixel
// shaders share: number literals that survive any bit pattern, swizzle and
// write-mask suffixes, masked assignments, and the assembler form of an
// instruction for the comment above its GLSL.

#include <array>
#include <string>

#include "platform/d3d8/SShaderProgram.h"

class CGlslWriter {
public:
    // A float literal that reads back to exactly `value` (infinities, NaNs
    // and denormals through uintBitsToFloat); independent of the C locale.
    static std::string FloatLiteral(float value);
    static std::string Vec4Literal(const std::array<float, 4>& values);
    // ".yzxw" for a swizzle other than the identity, "" for the identity.
    static std::string SwizzleSuffix(DWORD swizzle);
    // ".xz" for a mask (bit 0 = x), "" for all four components.
    static std::string MaskSuffix(DWORD writeMask);
    // "target.xz = (value).xz;" as one statement line ("" for an empty mask).
    static std::string MaskedAssignment(const std::string& target, DWORD writeMask, const std::string& value);
    // The instruction in assembler form: "mad r0.xy, -v0.wzyx, c[a0.x + 4], r1".
    static std::string Disassemble(const SShaderInstruction& instruction, EShaderKind kind);
};
