#pragma once
// A decoded Direct3D 8 shader function (vs.1.0/1.1 or ps.1.0/1.1): its
// instructions with their parameters unpacked, and a summary of the
// registers it uses. CShaderDecoder fills it and guarantees that everything
// in it is valid for its kind, so that CShaderTranslator can rely on it.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d3d8/D3D8ShaderTokens.h"

enum class EShaderKind : std::uint8_t {
    Vertex,
    Pixel
};

struct SShaderParameter {
    DWORD type = D3DSPR_TEMP;  // D3DSPR_*
    DWORD number = 0;          // register number (for relative sources: the offset added to a0.x)
    DWORD writeMask = 0xF;     // destinations: bit 0 = x (red) .. bit 3 = w (alpha)
    DWORD swizzle = 0xE4;      // sources: two bits per component, as in the token (0xE4: .xyzw)
    DWORD sourceModifier = 0;  // sources: D3DSPSM_* >> D3DSP_SRCMOD_SHIFT
    bool saturate = false;     // destinations: _sat
    int shift = 0;             // destinations: -1 (_d2), 0, 1 (_x2), 2 (_x4)
    bool relative = false;     // sources: c[a0.x + number]

    // The source component (0..3) that component `i` of a source reads.
    unsigned SwizzleComponent(unsigned i) const { return (swizzle >> (2 * i)) & 3; }
};

struct SShaderInstruction {
    DWORD opcode = D3DSIO_NOP;  // D3DSIO_*
    bool coissue = false;       // pixel shaders: runs together with the previous instruction
    bool hasDestination = false;
    SShaderParameter destination;
    std::array<SShaderParameter, 3> sources{};
    unsigned sourceCount = 0;
    std::array<float, 4> values{};  // def: the constant's value
};

struct SShaderProgram {
    EShaderKind kind = EShaderKind::Vertex;
    DWORD version = 0;  // the version token
    std::vector<SShaderInstruction> instructions;
    std::size_t tokenCount = 0;  // DWORDs from the version token to the end token, both included

    // What the program reads and writes, one bit per register number:
    std::uint32_t inputsRead = 0;          // v# read (vertex: declaration registers; pixel: v0 diffuse, v1 specular)
    std::uint32_t textureCoordinates = 0;  // vertex: oT# written; pixel: texture coordinate sets read
    std::uint32_t texturesSampled = 0;     // pixel: texture stages sampled
    std::uint32_t colorsWritten = 0;       // vertex: oD0 (bit 0), oD1 (bit 1)
    std::bitset<D3D8_VS_CONSTANT_REGISTERS> constantsDefined;  // c# set by def
    std::uint32_t temporariesUsed = 0;                         // r# read or written
    bool writesPosition = false;                               // oPos
    bool writesFog = false;                                    // oFog
    bool writesPointSize = false;                              // oPts
    bool usesAddressRegister = false;                          // a0 written or used for relative addressing

    // The value the last def of constant c# gives it; null without one.
    const std::array<float, 4>* Definition(DWORD number) const {
        const std::array<float, 4>* value = nullptr;
        for (const SShaderInstruction& instruction : instructions)
            if (instruction.opcode == D3DSIO_DEF && instruction.destination.number == number)
                value = &instruction.values;
        return value;
    }
};
