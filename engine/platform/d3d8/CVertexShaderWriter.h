#pragma once
// Writes the GLSL 3.30 vertex shader of one decoded vs.1.1 program: the
// registers as local vec4s, one statement per instruction, and the outputs
// in the form the fixed-function fragment programs and translated pixel
// shaders read (see CShaderTranslator).

#include <sstream>
#include <string>

#include "platform/d3d8/SFixedFunctionKey.h"
#include "platform/d3d8/SShaderProgram.h"

class CVertexShaderWriter {
public:
    CVertexShaderWriter(const SShaderProgram& program, const SFixedFunctionKey& key);

    std::string Write();

private:
    void WriteDeclarations();
    void WriteConstantFunction();
    void WriteRegisters();
    void WriteInstruction(const SShaderInstruction& instruction);
    void WriteOutputs();
    std::string Source(const SShaderInstruction& instruction, unsigned index, unsigned row = 0) const;
    std::string Operation(const SShaderInstruction& instruction) const;
    std::string MatrixOperation(const SShaderInstruction& instruction, unsigned rows, bool threeComponents) const;
    std::string DestinationName(const SShaderParameter& destination) const;

    const SShaderProgram& m_program;
    const SFixedFunctionKey& m_key;
    std::ostringstream m_text;
};
