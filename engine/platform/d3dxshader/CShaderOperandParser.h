#pragma once
// One operand of an instruction, from its tokens to what its parameter token
// holds. Destinations are a register with an optional write mask ("r0",
// "oPos.xy", "r0.rgb"); sources a register with optional modifiers and
// swizzle ("-c4", "v9.xyz", "c[a0.x + 12]", "1-r0", "-t0_bx2", "r1.a").
//
// Vertex shaders: masks are ordered subsets of xyzw (or rgba); swizzles of 1
// to 4 letters, a short one repeating its last letter (".xy" reads xyyy);
// the only source modifier is "-". Pixel shaders: masks .rgb, .a and .rgba;
// swizzles .a and .b (replicate alpha, blue); source modifiers "-", "1-",
// "_bias" and "_bx2" (the modifier may also follow the swizzle: "r0.a_bx2").

#include <string>
#include <vector>

#include "platform/d3dxshader/CShaderLexer.h"
#include "platform/d3dxshader/CShaderRegisterTable.h"

struct SShaderOperand {
    SShaderRegister reg;
    bool relative = false;  // c[a0.x + n]: reg.number is n
    DWORD writeMask;        // D3DSP_WRITEMASK_* bits of a destination
    DWORD swizzle;          // D3DVS_SWIZZLE_* bits of a source
    DWORD modifier;         // D3DSPSM_* of a source
    std::string text;       // as written, for messages
};

class CShaderOperandParser {
public:
    explicit CShaderOperandParser(const CShaderRegisterTable& registers) : m_registers(registers) {}

    // Throw CShaderSyntaxError for anything they cannot encode.
    SShaderOperand ParseDestination(const std::vector<SShaderToken>& tokens) const;
    SShaderOperand ParseSource(const std::vector<SShaderToken>& tokens) const;

private:
    enum class EPrefix {
        None,
        Negate,
        Complement,
    };

    SShaderOperand ParseRelative(const std::vector<SShaderToken>& tokens, size_t& pos) const;
    DWORD WriteMask(const std::string& letters) const;
    DWORD Swizzle(const std::string& letters) const;
    DWORD SourceModifier(EPrefix prefix, const std::string& suffix) const;
    bool IsPixel() const { return m_registers.Kind() == EShaderKind::Pixel; }

    const CShaderRegisterTable& m_registers;
};
