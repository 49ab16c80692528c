#pragma once
// A Direct3D 8 state block: a chosen set of device states with their values.
// Blocks are recorded (BeginStateBlock .. EndStateBlock: every state call in
// between adds that state) or created for a type (all, pixel or vertex
// states). CaptureStateBlock refreshes the values of the included states from
// the device; ApplyStateBlock sets them on the device.

#include <bitset>
#include <memory>
#include <set>

#include "platform/d3d8/CDeviceState.h"

class CStateBlock8 {
public:
    CStateBlock8() = default;
    static std::unique_ptr<CStateBlock8> Create(D3DSTATEBLOCKTYPE type, const CDeviceState& device);

    void RecordRenderState(D3DRENDERSTATETYPE state, DWORD value);
    void RecordStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    void RecordTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX& matrix);
    void RecordViewport(const D3DVIEWPORT8& viewport);
    void RecordMaterial(const D3DMATERIAL8& material);
    void RecordLight(DWORD index, const D3DLIGHT8& light);
    void RecordLightEnable(DWORD index, bool enable);
    void RecordTexture(DWORD stage, IDirect3DBaseTexture8* texture);
    void RecordStream(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride);
    void RecordIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex);
    void RecordVertexShader(DWORD handle);
    void RecordPixelShader(DWORD handle);
    // `count` four-float registers from `first` on (the range is checked by the caller).
    void RecordVertexShaderConstants(DWORD first, const void* data, DWORD count);
    void RecordPixelShaderConstants(DWORD first, const void* data, DWORD count);

    void Capture(const CDeviceState& device);
    // Sets the included states through the device's own calls.
    void Apply(IDirect3DDevice8& device) const;

private:
    void IncludeAllRenderStates();
    void IncludePixelStates();
    void IncludeVertexStates();
    void IncludeAllLights(const CDeviceState& device);

    CDeviceState m_values;
    std::bitset<D3D8_RENDERSTATE_COUNT> m_renderStates;
    std::bitset<D3D8_MAX_TEXTURE_STAGES * D3D8_TEXTURESTAGESTATE_COUNT> m_stageStates;
    bool m_view = false;
    bool m_projection = false;
    bool m_world[kWorldMatrixCount] = {};
    bool m_textureTransforms[D3D8_MAX_TEXTURE_STAGES] = {};
    bool m_viewport = false;
    bool m_material = false;
    std::set<DWORD> m_lights;
    std::set<DWORD> m_lightEnables;
    bool m_textures[D3D8_MAX_TEXTURE_STAGES] = {};
    bool m_streams[kStreamCount] = {};
    bool m_indices = false;
    bool m_vertexShader = false;
    bool m_pixelShader = false;
    std::bitset<D3D8_VS_CONSTANT_REGISTERS> m_vertexConstants;
    std::bitset<D3D8_PS_CONSTANT_REGISTERS> m_pixelConstants;
};
