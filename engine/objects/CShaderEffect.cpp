#include "objects/CShaderEffect.h"

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3dxshader/d3dx8shader.h"

namespace {

// The shader layout's 80 bytes in declaration order: the object's S3DVERTEX
// (position, normal, two texture pairs), then SShaderVertexFrame.
const DWORD kShaderLayoutDeclaration[] = {
    D3DVSD_STREAM(0),
    D3DVSD_REG(D3DVSDE_POSITION, D3DVSDT_FLOAT3),
    D3DVSD_REG(D3DVSDE_NORMAL, D3DVSDT_FLOAT3),
    D3DVSD_REG(D3DVSDE_TEXCOORD0, D3DVSDT_FLOAT2),
    D3DVSD_REG(D3DVSDE_TEXCOORD1, D3DVSDT_FLOAT2),
    D3DVSD_REG(D3DVSDE_DIFFUSE, D3DVSDT_D3DCOLOR),
    D3DVSD_REG(D3DVSDE_TEXCOORD2, D3DVSDT_FLOAT3),  // v9: tangent
    D3DVSD_REG(D3DVSDE_TEXCOORD3, D3DVSDT_FLOAT3),  // v10: binormal
    D3DVSD_REG(D3DVSDE_TEXCOORD4,
               D3DVSDT_FLOAT3),  // v11: the tangent frame's normal
    D3DVSD_END(),
};

// Creates the shader from assembled code; the code buffer is released
// either way.
HRESULT CreateFromCode(IDirect3DDevice8* device, ID3DXBuffer* code, const DWORD* declaration, DWORD& handle) {
    const DWORD* function = static_cast<const DWORD*>(code->GetBufferPointer());
    const HRESULT result = declaration != nullptr ? device->CreateVertexShader(declaration, function, &handle, 0)
                                                  : device->CreatePixelShader(function, &handle);
    code->Release();
    if (FAILED(result)) {
        handle = 0;
    }
    return result;
}

}  // namespace

CShaderEffect::CShaderEffect(IDirect3DDevice8* device) : m_pd3dDevice(device) {}

CShaderEffect::~CShaderEffect() {
    DeleteShaders();
}

void CShaderEffect::Init() {
    DeleteShaders();
    if (m_pd3dDevice == nullptr) {
        return;
    }
    // Failures are not reported: the handle stays 0 and the object draws
    // without that shader.
    if (!m_VertexFilename.empty()) {
        CreateShader(m_VertexFilename, VertexDeclaration(), m_dwVertexShader);
    } else if (!m_VertexCode.empty()) {
        CreateShader(m_VertexCode.data(), static_cast<UINT>(m_VertexCode.size()), VertexDeclaration(),
                     m_dwVertexShader);
    }
    if (!m_PixelFilename.empty()) {
        CreateShader(m_PixelFilename, nullptr, m_dwPixelShader);
    } else if (!m_PixelCode.empty()) {
        CreateShader(m_PixelCode.data(), static_cast<UINT>(m_PixelCode.size()), nullptr, m_dwPixelShader);
    }
}

HRESULT CShaderEffect::CreateShader(const CString& filename, const DWORD* declaration, DWORD& handle) {
    handle = 0;
    if (m_pd3dDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    ID3DXBuffer* code = nullptr;
    const HRESULT assembled = D3DXAssembleShaderFromFileA(filename.c_str(), 0, nullptr, &code, nullptr);
    if (FAILED(assembled) || code == nullptr) {
        return FAILED(assembled) ? assembled : E_FAIL;
    }
    return CreateFromCode(m_pd3dDevice, code, declaration, handle);
}

HRESULT CShaderEffect::CreateShader(const char* text, UINT length, const DWORD* declaration, DWORD& handle) {
    handle = 0;
    if (m_pd3dDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    ID3DXBuffer* assembledCode = nullptr;
    const HRESULT assembled = D3DXAssembleShader(text, length, 0, nullptr, &assembledCode, nullptr);
    if (FAILED(assembled) || assembledCode == nullptr) {
        return FAILED(assembled) ? assembled : E_FAIL;
    }
    return CreateFromCode(m_pd3dDevice, assembledCode, declaration, handle);
}

const DWORD* CShaderEffect::VertexDeclaration() {
    return kShaderLayoutDeclaration;
}

void CShaderEffect::SetConstants(DWORD first, const void* data, DWORD count) const {
    if (m_pd3dDevice != nullptr) {
        m_pd3dDevice->SetVertexShaderConstant(first, data, count);
    }
}

void CShaderEffect::DeleteShaders() {
    if (m_pd3dDevice != nullptr) {
        if (m_dwVertexShader != 0) {
            m_pd3dDevice->DeleteVertexShader(m_dwVertexShader);
        }
        if (m_dwPixelShader != 0) {
            m_pd3dDevice->DeletePixelShader(m_dwPixelShader);
        }
    }
    m_dwVertexShader = 0;
    m_dwPixelShader = 0;
}
