#include "platform/d3d8/CDeviceState.h"

#include <cstring>

#include "platform/d3d8/D3D8Math.h"

float StateAsFloat(DWORD value) {
    float f;
    std::memcpy(&f, &value, sizeof f);
    return f;
}

DWORD FloatAsState(float value) {
    DWORD d;
    std::memcpy(&d, &value, sizeof d);
    return d;
}

namespace {

template <class T>
void Rebind(T*& slot, T* value) {
    if (slot == value)
        return;
    if (value)
        value->AddRef();
    T* old = slot;
    slot = value;
    if (old)
        old->Release();
}

void SetRenderStateDefaults(DWORD* rs, bool zEnable) {
    rs[D3DRS_ZENABLE] = zEnable ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[D3DRS_ALPHATESTENABLE] = FALSE;
    rs[D3DRS_LASTPIXEL] = TRUE;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAREF] = 0;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_FOGCOLOR] = 0;
    rs[D3DRS_FOGTABLEMODE] = D3DFOG_NONE;
    rs[D3DRS_FOGSTART] = FloatAsState(0.0f);
    rs[D3DRS_FOGEND] = FloatAsState(1.0f);
    rs[D3DRS_FOGDENSITY] = FloatAsState(1.0f);
    rs[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_STENCILMASK] = 0xFFFFFFFF;
    rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    rs[D3DRS_CLIPPING] = TRUE;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[D3DRS_FOGVERTEXMODE] = D3DFOG_NONE;
    rs[D3DRS_COLORVERTEX] = TRUE;
    rs[D3DRS_LOCALVIEWER] = TRUE;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_VERTEXBLEND] = D3DVBF_DISABLE;
    rs[D3DRS_POINTSIZE] = FloatAsState(1.0f);
    rs[D3DRS_POINTSIZE_MIN] = FloatAsState(0.0f);
    rs[D3DRS_POINTSCALE_A] = FloatAsState(1.0f);
    rs[D3DRS_POINTSCALE_B] = FloatAsState(0.0f);
    rs[D3DRS_POINTSCALE_C] = FloatAsState(0.0f);
    rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
    rs[D3DRS_POINTSIZE_MAX] = FloatAsState(64.0f);
    rs[D3DRS_COLORWRITEENABLE] = 0x0F;
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    rs[D3DRS_PATCHSEGMENTS] = FloatAsState(1.0f);
}

void SetStageDefaults(DWORD stage, DWORD* ts) {
    ts[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    ts[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    ts[D3DTSS_TEXCOORDINDEX] = stage;
    ts[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
    ts[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
    ts[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
    ts[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
    ts[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    ts[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
    ts[D3DTSS_MAXANISOTROPY] = 1;
    ts[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
    ts[D3DTSS_COLORARG0] = D3DTA_CURRENT;
    ts[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
    ts[D3DTSS_RESULTARG] = D3DTA_CURRENT;
}

}  // namespace

CDeviceState::CDeviceState() {
    SetDefaults(false, D3DVIEWPORT8{0, 0, 1, 1, 0.0f, 1.0f});
}

CDeviceState::~CDeviceState() {
    ReleaseBindings();
}

void CDeviceState::SetDefaults(bool zEnable, const D3DVIEWPORT8& vp) {
    std::memset(renderStates, 0, sizeof renderStates);
    SetRenderStateDefaults(renderStates, zEnable);
    std::memset(stageStates, 0, sizeof stageStates);
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        SetStageDefaults(stage, stageStates[stage]);
    view = projection = d3d8math::Identity();
    for (D3DMATRIX& m : world)
        m = d3d8math::Identity();
    for (D3DMATRIX& m : textureTransforms)
        m = d3d8math::Identity();
    viewport = vp;
    material = D3DMATERIAL8{};
    lights.clear();
    ReleaseBindings();
    vertexShader = 0;
    pixelShader = 0;
}

D3DMATRIX* CDeviceState::Transform(D3DTRANSFORMSTATETYPE type) {
    const DWORD t = type;
    if (t == D3DTS_VIEW)
        return &view;
    if (t == D3DTS_PROJECTION)
        return &projection;
    if (t >= D3DTS_TEXTURE0 && t <= D3DTS_TEXTURE7)
        return &textureTransforms[t - D3DTS_TEXTURE0];
    if (t >= D3DTS_WORLD && t < D3DTS_WORLD + kWorldMatrixCount)
        return &world[t - D3DTS_WORLD];
    return nullptr;
}

const D3DMATRIX* CDeviceState::Transform(D3DTRANSFORMSTATETYPE type) const {
    return const_cast<CDeviceState*>(this)->Transform(type);
}

void CDeviceState::BindTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    Rebind(textures[stage], texture);
}

void CDeviceState::BindStream(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    Rebind(streams[stream].buffer, buffer);
    streams[stream].stride = stride;
}

void CDeviceState::BindIndices(IDirect3DIndexBuffer8* buffer, UINT base) {
    Rebind(indices, buffer);
    baseVertexIndex = base;
}

void CDeviceState::ReleaseBindings() {
    for (DWORD stage = 0; stage < D3D8_MAX_TEXTURE_STAGES; ++stage)
        BindTexture(stage, nullptr);
    for (UINT stream = 0; stream < kStreamCount; ++stream)
        BindStream(stream, nullptr, 0);
    BindIndices(nullptr, 0);
}
