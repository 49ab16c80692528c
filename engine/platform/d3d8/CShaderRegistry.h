#pragma once
// The shaders a device created, by handle. A vertex shader is its declaration
// and its decoded function; a pixel shader its decoded function. Handles of
// vertex shaders have bit 0 set so that SetVertexShader tells them from
// flexible vertex formats; pixel shader handles are never 0. Handles are not
// reused, so a program linked for a deleted shader can never be taken for a
// new one. The renderer holds the shaders it draws with by shared pointer,
// so deleting a bound shader leaves its draw data valid.

#include <map>
#include <memory>

#include "platform/d3d8/CVertexDeclaration.h"
#include "platform/d3d8/SShaderProgram.h"

struct SVertexShaderObject {
    CVertexDeclaration declaration;
    SShaderProgram program;
};

struct SPixelShaderObject {
    SShaderProgram program;
};

class CShaderRegistry {
public:
    // The new handle, or 0 when the handles ran out.
    DWORD AddVertexShader(std::shared_ptr<const SVertexShaderObject> shader);
    DWORD AddPixelShader(std::shared_ptr<const SPixelShaderObject> shader);
    // Null for an unknown handle.
    std::shared_ptr<const SVertexShaderObject> VertexShader(DWORD handle) const;
    std::shared_ptr<const SPixelShaderObject> PixelShader(DWORD handle) const;
    // False for an unknown handle.
    bool RemoveVertexShader(DWORD handle);
    bool RemovePixelShader(DWORD handle);

private:
    std::map<DWORD, std::shared_ptr<const SVertexShaderObject>> m_vertexShaders;
    std::map<DWORD, std::shared_ptr<const SPixelShaderObject>> m_pixelShaders;
    DWORD m_nextVertexShader = 1;
    DWORD m_nextPixelShader = 1;
};
