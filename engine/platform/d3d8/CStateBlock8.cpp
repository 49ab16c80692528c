#include "platform/d3d8/CStateBlock8.h"

#include <cstring>

namespace {

// The render states Direct3D 8 counts as pixel states and as vertex states.
constexpr D3DRENDERSTATETYPE kPixelRenderStates[] = {
    D3DRS_ZENABLE,
    D3DRS_FILLMODE,
    D3DRS_SHADEMODE,
    D3DRS_LINEPATTERN,
    D3DRS_ZWRITEENABLE,
    D3DRS_ALPHATESTENABLE,
    D3DRS_LASTPIXEL,
    D3DRS_SRCBLEND,
    D3DRS_DESTBLEND,
    D3DRS_ZFUNC,
    D3DRS_ALPHAREF,
    D3DRS_ALPHAFUNC,
    D3DRS_DITHERENABLE,
    D3DRS_ALPHABLENDENABLE,
    D3DRS_FOGSTART,
    D3DRS_FOGEND,
    D3DRS_FOGDENSITY,
    D3DRS_EDGEANTIALIAS,
    D3DRS_ZBIAS,
    D3DRS_STENCILENABLE,
    D3DRS_STENCILFAIL,
    D3DRS_STENCILZFAIL,
    D3DRS_STENCILPASS,
    D3DRS_STENCILFUNC,
    D3DRS_STENCILREF,
    D3DRS_STENCILMASK,
    D3DRS_STENCILWRITEMASK,
    D3DRS_TEXTUREFACTOR,
    D3DRS_WRAP0,
    D3DRS_WRAP1,
    D3DRS_WRAP2,
    D3DRS_WRAP3,
    D3DRS_WRAP4,
    D3DRS_WRAP5,
    D3DRS_WRAP6,
    D3DRS_WRAP7,
    D3DRS_COLORWRITEENABLE,
    D3DRS_BLENDOP,
};

constexpr D3DRENDERSTATETYPE kVertexRenderStates[] = {
    D3DRS_SHADEMODE,
    D3DRS_SPECULARENABLE,
    D3DRS_CULLMODE,
    D3DRS_FOGENABLE,
    D3DRS_FOGCOLOR,
    D3DRS_FOGTABLEMODE,
    D3DRS_FOGSTART,
    D3DRS_FOGEND,
    D3DRS_FOGDENSITY,
    D3DRS_RANGEFOGENABLE,
    D3DRS_AMBIENT,
    D3DRS_COLORVERTEX,
    D3DRS_FOGVERTEXMODE,
    D3DRS_CLIPPING,
    D3DRS_LIGHTING,
    D3DRS_NORMALIZENORMALS,
    D3DRS_LOCALVIEWER,
    D3DRS_EMISSIVEMATERIALSOURCE,
    D3DRS_AMBIENTMATERIALSOURCE,
    D3DRS_DIFFUSEMATERIALSOURCE,
    D3DRS_SPECULARMATERIALSOURCE,
    D3DRS_VERTEXBLEND,
    D3DRS_CLIPPLANEENABLE,
    D3DRS_SOFTWAREVERTEXPROCESSING,
    D3DRS_POINTSIZE,
    D3DRS_POINTSIZE_MIN,
    D3DRS_POINTSPRITEENABLE,
    D3DRS_POINTSCALEENABLE,
    D3DRS_POINTSCALE_A,
    D3DRS_POINTSCALE_B,
    D3DRS_POINTSCALE_C,
    D3DRS_MULTISAMPLEANTIALIAS,
    D3DRS_MULTISAMPLEMASK,
    D3DRS_PATCHEDGESTYLE,
    D3DRS_PATCHSEGMENTS,
    D3DRS_POINTSIZE_MAX,
    D3DRS_INDEXEDVERTEXBLENDENABLE,
    D3DRS_TWEENFACTOR,
};

// Every render state number Direct3D 8 defines.
bool IsDefinedRenderState(DWORD s) {
    for (D3DRENDERSTATETYPE p : kPixelRenderStates)
        if (p == s)
            return true;
    for (D3DRENDERSTATETYPE v : kVertexRenderStates)
        if (v == s)
            return true;
    return s == D3DRS_ZVISIBLE || s == D3DRS_DEBUGMONITORTOKEN || s == D3DRS_POSITIONORDER || s == D3DRS_NORMALORDER;
}

bool IsVertexStageState(DWORD type) {
    return type == D3DTSS_TEXCOORDINDEX || type == D3DTSS_TEXTURETRANSFORMFLAGS;
}

bool IsDefinedStageState(DWORD type) {
    return type >= D3DTSS_COLOROP && type <= D3DTSS_RESULTARG && type != 12;
}

size_t StageBit(DWORD stage, DWORD type) {
    return stage * D3D8_TEXTURESTAGESTATE_COUNT + type;
}

}  // namespace

std::unique_ptr<CStateBlock8> CStateBlock8::Create(D3DSTATEBLOCKTYPE type, const CDeviceState& device) {
    auto block = std::make_unique<CStateBlock8>();
    if (type == D3DSBT_ALL) {
        block->IncludeAllRenderStates();
        for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
            for (DWORD t = 0; t < D3D8_TEXTURESTAGESTATE_COUNT; ++t)
                if (IsDefinedStageState(t))
                    block->m_stageStates.set(StageBit(stage, t));
        block->m_view = block->m_projection = true;
        for (bool& w : block->m_world)
            w = true;
        for (bool& t : block->m_textureTransforms)
            t = true;
        block->m_viewport = block->m_material = true;
        block->IncludeAllLights(device);
        for (bool& t : block->m_textures)
            t = true;
        for (bool& s : block->m_streams)
            s = true;
        block->m_indices = block->m_vertexShader = block->m_pixelShader = true;
        block->m_vertexConstants.set();
        block->m_pixelConstants.set();
    } else if (type == D3DSBT_PIXELSTATE) {
        block->IncludePixelStates();
        block->m_pixelShader = true;
        block->m_pixelConstants.set();
    } else if (type == D3DSBT_VERTEXSTATE) {
        block->IncludeVertexStates();
        block->IncludeAllLights(device);
        block->m_vertexShader = true;
        block->m_vertexConstants.set();
    } else {
        return nullptr;
    }
    block->Capture(device);
    return block;
}

void CStateBlock8::IncludeAllRenderStates() {
    for (DWORD s = 0; s < D3D8_RENDERSTATE_COUNT; ++s)
        if (IsDefinedRenderState(s))
            m_renderStates.set(s);
}

void CStateBlock8::IncludePixelStates() {
    for (D3DRENDERSTATETYPE s : kPixelRenderStates)
        m_renderStates.set(s);
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        for (DWORD t = 0; t < D3D8_TEXTURESTAGESTATE_COUNT; ++t)
            if (IsDefinedStageState(t) && !IsVertexStageState(t))
                m_stageStates.set(StageBit(stage, t));
}

void CStateBlock8::IncludeVertexStates() {
    for (D3DRENDERSTATETYPE s : kVertexRenderStates)
        m_renderStates.set(s);
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage) {
        m_stageStates.set(StageBit(stage, D3DTSS_TEXCOORDINDEX));
        m_stageStates.set(StageBit(stage, D3DTSS_TEXTURETRANSFORMFLAGS));
    }
}

void CStateBlock8::IncludeAllLights(const CDeviceState& device) {
    for (const auto& [index, slot] : device.lights) {
        m_lights.insert(index);
        m_lightEnables.insert(index);
    }
}

void CStateBlock8::RecordRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    m_renderStates.set(state);
    m_values.renderStates[state] = value;
}

void CStateBlock8::RecordStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    m_stageStates.set(StageBit(stage, type));
    m_values.stageStates[stage][type] = value;
}

void CStateBlock8::RecordTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX& matrix) {
    D3DMATRIX* slot = m_values.Transform(type);
    if (!slot)
        return;
    *slot = matrix;
    const DWORD t = type;
    if (t == D3DTS_VIEW)
        m_view = true;
    else if (t == D3DTS_PROJECTION)
        m_projection = true;
    else if (t >= D3DTS_TEXTURE0 && t <= D3DTS_TEXTURE7)
        m_textureTransforms[t - D3DTS_TEXTURE0] = true;
    else
        m_world[t - D3DTS_WORLD] = true;
}

void CStateBlock8::RecordViewport(const D3DVIEWPORT8& viewport) {
    m_viewport = true;
    m_values.viewport = viewport;
}

void CStateBlock8::RecordMaterial(const D3DMATERIAL8& material) {
    m_material = true;
    m_values.material = material;
}

void CStateBlock8::RecordLight(DWORD index, const D3DLIGHT8& light) {
    m_lights.insert(index);
    m_values.lights[index].light = light;
}

void CStateBlock8::RecordLightEnable(DWORD index, bool enable) {
    m_lightEnables.insert(index);
    m_values.lights[index].enabled = enable;
}

void CStateBlock8::RecordTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    m_textures[stage] = true;
    m_values.BindTexture(stage, texture);
}

void CStateBlock8::RecordStream(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    m_streams[stream] = true;
    m_values.BindStream(stream, buffer, stride);
}

void CStateBlock8::RecordIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) {
    m_indices = true;
    m_values.BindIndices(buffer, baseVertexIndex);
}

void CStateBlock8::RecordVertexShader(DWORD handle) {
    m_vertexShader = true;
    m_values.vertexShader = handle;
}

void CStateBlock8::RecordPixelShader(DWORD handle) {
    m_pixelShader = true;
    m_values.pixelShader = handle;
}

void CStateBlock8::RecordVertexShaderConstants(DWORD first, const void* data, DWORD count) {
    std::memcpy(m_values.vertexShaderConstants[first], data, count * sizeof(float[4]));
    for (DWORD i = 0; i < count; ++i)
        m_vertexConstants.set(first + i);
}

void CStateBlock8::RecordPixelShaderConstants(DWORD first, const void* data, DWORD count) {
    std::memcpy(m_values.pixelShaderConstants[first], data, count * sizeof(float[4]));
    for (DWORD i = 0; i < count; ++i)
        m_pixelConstants.set(first + i);
}

void CStateBlock8::Capture(const CDeviceState& device) {
    for (DWORD s = 0; s < D3D8_RENDERSTATE_COUNT; ++s)
        if (m_renderStates.test(s))
            m_values.renderStates[s] = device.renderStates[s];
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        for (DWORD t = 0; t < D3D8_TEXTURESTAGESTATE_COUNT; ++t)
            if (m_stageStates.test(StageBit(stage, t)))
                m_values.stageStates[stage][t] = device.stageStates[stage][t];
    if (m_view)
        m_values.view = device.view;
    if (m_projection)
        m_values.projection = device.projection;
    for (DWORD i = 0; i < kWorldMatrixCount; ++i)
        if (m_world[i])
            m_values.world[i] = device.world[i];
    for (DWORD i = 0; i < D3D8_MAX_TEXTURE_STAGES; ++i)
        if (m_textureTransforms[i])
            m_values.textureTransforms[i] = device.textureTransforms[i];
    if (m_viewport)
        m_values.viewport = device.viewport;
    if (m_material)
        m_values.material = device.material;
    for (DWORD index : m_lights) {
        auto found = device.lights.find(index);
        if (found != device.lights.end())
            m_values.lights[index].light = found->second.light;
    }
    for (DWORD index : m_lightEnables) {
        auto found = device.lights.find(index);
        m_values.lights[index].enabled = found != device.lights.end() && found->second.enabled;
    }
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        if (m_textures[stage])
            m_values.BindTexture(stage, device.textures[stage]);
    for (UINT s = 0; s < kStreamCount; ++s)
        if (m_streams[s])
            m_values.BindStream(s, device.streams[s].buffer, device.streams[s].stride);
    if (m_indices)
        m_values.BindIndices(device.indices, device.baseVertexIndex);
    if (m_vertexShader)
        m_values.vertexShader = device.vertexShader;
    if (m_pixelShader)
        m_values.pixelShader = device.pixelShader;
    for (DWORD i = 0; i < D3D8_VS_CONSTANT_REGISTERS; ++i)
        if (m_vertexConstants.test(i))
            std::memcpy(m_values.vertexShaderConstants[i], device.vertexShaderConstants[i], sizeof(float[4]));
    for (DWORD i = 0; i < D3D8_PS_CONSTANT_REGISTERS; ++i)
        if (m_pixelConstants.test(i))
            std::memcpy(m_values.pixelShaderConstants[i], device.pixelShaderConstants[i], sizeof(float[4]));
}

void CStateBlock8::Apply(IDirect3DDevice8& device) const {
    for (DWORD s = 0; s < D3D8_RENDERSTATE_COUNT; ++s)
        if (m_renderStates.test(s))
            device.SetRenderState(static_cast<D3DRENDERSTATETYPE>(s), m_values.renderStates[s]);
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        for (DWORD t = 0; t < D3D8_TEXTURESTAGESTATE_COUNT; ++t)
            if (m_stageStates.test(StageBit(stage, t)))
                device.SetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(t),
                                            m_values.stageStates[stage][t]);
    if (m_view)
        device.SetTransform(D3DTS_VIEW, &m_values.view);
    if (m_projection)
        device.SetTransform(D3DTS_PROJECTION, &m_values.projection);
    for (DWORD i = 0; i < kWorldMatrixCount; ++i)
        if (m_world[i])
            device.SetTransform(D3DTS_WORLDMATRIX(i), &m_values.world[i]);
    for (DWORD i = 0; i < D3D8_MAX_TEXTURE_STAGES; ++i)
        if (m_textureTransforms[i])
            device.SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_TEXTURE0 + i), &m_values.textureTransforms[i]);
    if (m_viewport)
        device.SetViewport(&m_values.viewport);
    if (m_material)
        device.SetMaterial(&m_values.material);
    for (DWORD index : m_lights)
        device.SetLight(index, &m_values.lights.at(index).light);
    for (DWORD index : m_lightEnables)
        device.LightEnable(index, m_values.lights.at(index).enabled);
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        if (m_textures[stage])
            device.SetTexture(stage, m_values.textures[stage]);
    for (UINT s = 0; s < kStreamCount; ++s)
        if (m_streams[s])
            device.SetStreamSource(s, m_values.streams[s].buffer, m_values.streams[s].stride);
    if (m_indices)
        device.SetIndices(m_values.indices, m_values.baseVertexIndex);
    if (m_vertexShader)
        device.SetVertexShader(m_values.vertexShader);
    if (m_pixelShader)
        device.SetPixelShader(m_values.pixelShader);
    for (DWORD i = 0; i < D3D8_VS_CONSTANT_REGISTERS; ++i)
        if (m_vertexConstants.test(i))
            device.SetVertexShaderConstant(i, m_values.vertexShaderConstants[i], 1);
    for (DWORD i = 0; i < D3D8_PS_CONSTANT_REGISTERS; ++i)
        if (m_pixelConstants.test(i))
            device.SetPixelShaderConstant(i, m_values.pixelShaderConstants[i], 1);
}
