#include "platform/d3d8/CShaderRegistry.h"

namespace {

template <typename Map>
typename Map::mapped_type Find(const Map& shaders, DWORD handle) {
    const auto found = shaders.find(handle);
    return found == shaders.end() ? nullptr : found->second;
}

}  // namespace

DWORD CShaderRegistry::AddVertexShader(std::shared_ptr<const SVertexShaderObject> shader) {
    if (!shader || m_nextVertexShader >= 0x80000000u)
        return 0;
    const DWORD handle = (m_nextVertexShader++ << 1) | 1u;
    m_vertexShaders.emplace(handle, std::move(shader));
    return handle;
}

DWORD CShaderRegistry::AddPixelShader(std::shared_ptr<const SPixelShaderObject> shader) {
    if (!shader || m_nextPixelShader == 0xFFFFFFFFu)
        return 0;
    const DWORD handle = m_nextPixelShader++;
    m_pixelShaders.emplace(handle, std::move(shader));
    return handle;
}

std::shared_ptr<const SVertexShaderObject> CShaderRegistry::VertexShader(DWORD handle) const {
    return Find(m_vertexShaders, handle);
}

std::shared_ptr<const SPixelShaderObject> CShaderRegistry::PixelShader(DWORD handle) const {
    return Find(m_pixelShaders, handle);
}

bool CShaderRegistry::RemoveVertexShader(DWORD handle) {
    return m_vertexShaders.erase(handle) != 0;
}

bool CShaderRegistry::RemovePixelShader(DWORD handle) {
    return m_pixelShaders.erase(handle) != 0;
}
