#pragma once
// Everything a Direct3D 8 device remembers between calls: render and texture
// stage states, transforms, viewport, material, lights and the bound
// resources. The device keeps one live copy; state blocks keep their own.
// Bound resources are referenced (AddRef) by the state that holds them.

#include <map>

#include "platform/d3d8/D3D8ShaderTokens.h"
#include "platform/d3d8/d3d8.h"

struct SLightSlot {
    D3DLIGHT8 light{};
    bool enabled = false;
};

struct SStreamSource {
    IDirect3DVertexBuffer8* buffer = nullptr;
    UINT stride = 0;
};

constexpr DWORD kWorldMatrixCount = 4;
constexpr DWORD kStreamCount = 16;

class CDeviceState {
public:
    CDeviceState();
    ~CDeviceState();
    CDeviceState(const CDeviceState&) = delete;
    CDeviceState& operator=(const CDeviceState&) = delete;

    // Direct3D's initial state. zEnable: whether an automatic depth buffer
    // exists; viewport: the whole back buffer.
    void SetDefaults(bool zEnable, const D3DVIEWPORT8& viewport);

    // Transform slot of a Direct3D transform type; null for unknown types.
    D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type);
    const D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type) const;

    void BindTexture(DWORD stage, IDirect3DBaseTexture8* texture);
    void BindStream(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride);
    void BindIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex);
    // Drops every resource reference (the state keeps its other values).
    void ReleaseBindings();

    DWORD renderStates[D3D8_RENDERSTATE_COUNT] = {};
    DWORD stageStates[D3D8_MAX_TEXTURE_STAGES][D3D8_TEXTURESTAGESTATE_COUNT] = {};
    D3DMATRIX view{};
    D3DMATRIX projection{};
    D3DMATRIX world[kWorldMatrixCount]{};
    D3DMATRIX textureTransforms[D3D8_MAX_TEXTURE_STAGES]{};
    D3DVIEWPORT8 viewport{};
    D3DMATERIAL8 material{};
    std::map<DWORD, SLightSlot> lights;
    IDirect3DBaseTexture8* textures[D3D8_MAX_TEXTURE_STAGES] = {};
    SStreamSource streams[kStreamCount];
    IDirect3DIndexBuffer8* indices = nullptr;
    UINT baseVertexIndex = 0;
    DWORD vertexShader = 0;
    DWORD pixelShader = 0;
    float vertexShaderConstants[D3D8_VS_CONSTANT_REGISTERS][4] = {};
    float pixelShaderConstants[D3D8_PS_CONSTANT_REGISTERS][4] = {};
};

// A float render state value is stored as its bit pattern in the DWORD.
float StateAsFloat(DWORD value);
DWORD FloatAsState(float value);
