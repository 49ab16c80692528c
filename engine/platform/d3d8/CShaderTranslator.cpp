#include "platform/d3d8/CShaderTranslator.h"

#include "platform/d3d8/CPixelShaderWriter.h"
#include "platform/d3d8/CVertexShaderWriter.h"

std::string CShaderTranslator::VertexShader(const SShaderProgram& program, const SFixedFunctionKey& key) {
    return CVertexShaderWriter(program, key).Write();
}

std::string CShaderTranslator::PixelShader(const SShaderProgram& program, const SFixedFunctionKey& key) {
    return CPixelShaderWriter(program, key).Write();
}

std::string CShaderTranslator::AttributeName(unsigned reg) {
    return "a_v" + std::to_string(reg);
}
