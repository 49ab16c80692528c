#pragma once
// The instructions of vertex shader 1.1 and pixel shader 1.1: mnemonic,
// opcode, operands, and which shaders have them.

#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/d3dxshader/CShaderRegisterTable.h"

enum class EShaderInstructionForm {
    NoOperands,      // nop
    Arithmetic,      // destination and sources
    TextureAddress,  // pixel shader t-register instructions, before any arithmetic
    Define,          // def cN, four numbers
};

struct SShaderMnemonic {
    const char* name;  // lower case
    DWORD opcode;      // D3DSIO_*
    EShaderInstructionForm form;
    unsigned sources;
    bool inVertexShaders;
    bool inPixelShaders;

    bool IsIn(EShaderKind kind) const { return kind == EShaderKind::Vertex ? inVertexShaders : inPixelShaders; }
};

class CShaderInstructionTable {
public:
    // The instruction of a lower-case mnemonic without modifiers, or null.
    static const SShaderMnemonic* Find(std::string_view lowerName);
};
