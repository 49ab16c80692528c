#pragma once
// Writes the GLSL 3.30 fragment shader of one decoded ps.1.1 program: the
// texture addressing instructions as samples of the stage samplers, the
// arithmetic with ps.1.1's source and result modifiers and its [-1, 1]
// range, co-issued pairs, and r0 as the colour, fogged and alpha tested
// like the fixed-function programs (see CShaderTranslator).

#include <sstream>
#include <string>
#include <vector>

#include "platform/d3d8/SFixedFunctionKey.h"
#include "platform/d3d8/SShaderProgram.h"

class CPixelShaderWriter {
public:
    CPixelShaderWriter(const SShaderProgram& program, const SFixedFunctionKey& key);

    std::string Write();

private:
    // A texm3x2pad / texm3x3pad row waiting for its completing instruction.
    struct SMatrixRow {
        std::string value;  // the GLSL float variable holding the row's dot product
        DWORD coordinates;  // the texture coordinate set it read
    };

    void WriteDeclarations();
    void WriteRegisters();
    void WriteArithmetic(std::size_t index, std::size_t count);
    void WriteTextureInstruction(const SShaderInstruction& instruction);
    void WriteMatrixInstruction(const SShaderInstruction& instruction, const std::string& row);
    std::string Arithmetic(const SShaderInstruction& instruction) const;
    std::string Source(const SShaderInstruction& instruction, unsigned index) const;
    std::string Sample(DWORD stage, const std::string& coordinates2D, const std::string& coordinates3D) const;
    ETextureType StageType(DWORD stage) const;

    const SShaderProgram& m_program;
    const SFixedFunctionKey& m_key;
    std::ostringstream m_text;
    std::vector<SMatrixRow> m_rows;
};
