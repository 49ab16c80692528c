#include "platform/d3d8/CProgramCache.h"

#include <epoxy/gl.h>

#include "platform/d3d8/CFixedFunctionShaderGenerator.h"
#include "platform/d3d8/CGLProgramLinker.h"

std::size_t SShaderProgramKeyHash::operator()(const SShaderProgramKey& key) const {
    const std::size_t handles = (static_cast<std::size_t>(key.vertexShader) << 32) ^ key.pixelShader;
    return SFixedFunctionKeyHash()(key.state) ^ (handles * 1099511628211ull);
}

CProgramCache::~CProgramCache() = default;

unsigned CProgramCache::Get(const SFixedFunctionKey& key) {
    auto found = m_programs.find(key);
    if (found != m_programs.end())
        return found->second;
    const unsigned program =
        CGLProgramLinker::Link(CFixedFunctionShaderGenerator::VertexShader(key),
                               CFixedFunctionShaderGenerator::FragmentShader(key), "fixed-function");
    m_programs.emplace(key, program);
    return program;
}

unsigned CProgramCache::Get(const SShaderProgramKey& key, const SourceWriter& sources) {
    auto found = m_shaderPrograms.find(key);
    if (found != m_shaderPrograms.end())
        return found->second;
    const auto [vertex, fragment] = sources();
    const unsigned program = CGLProgramLinker::Link(vertex, fragment, "translated");
    m_shaderPrograms.emplace(key, program);
    return program;
}

std::size_t CProgramCache::ForgetShader(DWORD vertexHandle, DWORD pixelHandle) {
    std::size_t deleted = 0;
    for (auto it = m_shaderPrograms.begin(); it != m_shaderPrograms.end();) {
        const bool uses = (vertexHandle != 0 && it->first.vertexShader == vertexHandle) ||
                          (pixelHandle != 0 && it->first.pixelShader == pixelHandle);
        if (!uses) {
            ++it;
            continue;
        }
        if (it->second)
            glDeleteProgram(it->second);
        it = m_shaderPrograms.erase(it);
        ++deleted;
    }
    return deleted;
}

void CProgramCache::Clear() {
    for (auto& [key, program] : m_programs)
        if (program)
            glDeleteProgram(program);
    m_programs.clear();
    for (auto& [key, program] : m_shaderPrograms)
        if (program)
            glDeleteProgram(program);
    m_shaderPrograms.clear();
}
