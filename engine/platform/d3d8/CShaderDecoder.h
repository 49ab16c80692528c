#pragma once
// Reads a Direct3D 8 shader function (the DWORD tokens CreateVertexShader and
// CreatePixelShader receive) into an SShaderProgram and checks it the way
// the runtime does: version, opcodes of the kind, parameter counts, register
// types and numbers for their role, modifiers, relative addressing and
// instruction counts. A program it accepts always translates to GLSL that
// compiles.

#include <cstddef>
#include <string>

#include "platform/d3d8/SShaderProgram.h"
#include "platform/d3d8/d3d8types.h"

class CShaderDecoder {
public:
    // Reads at most maxTokens DWORDs (the API gives no length: the device
    // passes a generous cap). Returns D3D_OK, or D3DERR_INVALIDCALL with a
    // short reason in *error.
    static HRESULT Decode(const DWORD* tokens, std::size_t maxTokens, EShaderKind kind, SShaderProgram& program,
                          std::string* error = nullptr);

    // The assembler mnemonic of an opcode ("mov", "texm3x3spec"), or "?"
    // for one this layer does not know.
    static const char* Mnemonic(DWORD opcode);
};
