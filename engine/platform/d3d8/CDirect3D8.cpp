#include "platform/d3d8/CDirect3D8.h"

#include "platform/d3d8/CAdapterSettings.h"
#include "platform/d3d8/CDirect3DDevice8.h"
#include "platform/d3d8/CFormatInfo.h"
#include "platform/d3d8/D3D8ShaderTokens.h"

IDirect3D8* Direct3DCreate8(UINT SDKVersion) {
    if (SDKVersion != D3D_SDK_VERSION || CAdapterSettings::Instance().FailDirect3DCreate())
        return nullptr;
    return new CDirect3D8();
}

D3DCAPS8 CDirect3D8::BuildCaps(int maxTextureSize, float maxPointSize) {
    D3DCAPS8 caps{};
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.AdapterOrdinal = D3DADAPTER_DEFAULT;
    caps.Caps2 = D3DCAPS2_DYNAMICTEXTURES;
    caps.PresentationIntervals = D3DPRESENT_INTERVALS_ALL;
    caps.DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTUREVIDEOMEMORY |
                   D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 |
                   D3DDEVCAPS_DRAWPRIMITIVES2EX | D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW |
                             D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
    caps.RasterCaps = D3DPRASTERCAPS_DITHER | D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGVERTEX |
                      D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_MIPMAPLODBIAS | D3DPRASTERCAPS_ZBIAS |
                      D3DPRASTERCAPS_WFOG | D3DPRASTERCAPS_ZFOG;
    const DWORD allCompares = 0xFF;
    caps.ZCmpCaps = caps.AlphaCmpCaps = allCompares;
    caps.SrcBlendCaps = caps.DestBlendCaps = 0x1FFF;
    caps.ShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB |
                     D3DPSHADECAPS_ALPHAGOURAUDBLEND | D3DPSHADECAPS_FOGGOURAUD;
    caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_PROJECTED |
                       D3DPTEXTURECAPS_CUBEMAP | D3DPTEXTURECAPS_MIPMAP | D3DPTEXTURECAPS_MIPCUBEMAP;
    caps.TextureFilterCaps = caps.CubeTextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                                                          D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR |
                                                          D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    caps.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR | D3DPTADDRESSCAPS_CLAMP |
                              D3DPTADDRESSCAPS_BORDER | D3DPTADDRESSCAPS_INDEPENDENTUV;
    caps.MaxTextureWidth = caps.MaxTextureHeight = static_cast<DWORD>(maxTextureSize);
    caps.MaxTextureRepeat = 8192;
    caps.MaxTextureAspectRatio = static_cast<DWORD>(maxTextureSize);
    caps.MaxAnisotropy = 1;
    caps.MaxVertexW = 1e10f;
    caps.GuardBandLeft = caps.GuardBandTop = -1e8f;
    caps.GuardBandRight = caps.GuardBandBottom = 1e8f;
    caps.StencilCaps = 0xFF;
    caps.FVFCaps = D3D8_MAX_TEXTURE_STAGES | D3DFVFCAPS_PSIZE;
    caps.TextureOpCaps = 0x03FFFFFF & ~0x00600000u;  // every operation but bump mapping
    caps.MaxTextureBlendStages = D3D8_MAX_TEXTURE_STAGES;
    caps.MaxSimultaneousTextures = D3D8_MAX_TEXTURE_STAGES;
    caps.VertexProcessingCaps = D3DVTXPCAPS_TEXGEN | D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                                D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER;
    caps.MaxActiveLights = 8;
    caps.MaxPointSize = maxPointSize;
    caps.MaxPrimitiveCount = 0xFFFFFF;
    caps.MaxVertexIndex = 0xFFFFFF;
    caps.MaxStreams = 1;
    caps.MaxStreamStride = 255;
    caps.VertexShaderVersion = D3DVS_VERSION(1, 1);
    caps.MaxVertexShaderConst = D3D8_VS_CONSTANT_REGISTERS;
    caps.PixelShaderVersion = D3DPS_VERSION(1, 1);
    caps.MaxPixelShaderValue = 1.0f;  // colour registers hold -1..1
    return caps;
}

UINT CDirect3D8::GetAdapterModeCount(UINT Adapter) {
    if (Adapter != D3DADAPTER_DEFAULT)
        return 0;
    return static_cast<UINT>(CAdapterSettings::Instance().Modes().size());
}

HRESULT CDirect3D8::EnumAdapterModes(UINT Adapter, UINT Mode, D3DDISPLAYMODE* pMode) {
    const std::vector<D3DDISPLAYMODE> modes = CAdapterSettings::Instance().Modes();
    if (Adapter != D3DADAPTER_DEFAULT || !pMode || Mode >= modes.size())
        return D3DERR_INVALIDCALL;
    *pMode = modes[Mode];
    return D3D_OK;
}

HRESULT CDirect3D8::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
    if (Adapter != D3DADAPTER_DEFAULT || !pMode)
        return D3DERR_INVALIDCALL;
    if (CAdapterSettings::Instance().FailAdapterDisplayMode())
        return D3DERR_NOTAVAILABLE;
    *pMode = CAdapterSettings::Instance().CurrentMode();
    return D3D_OK;
}

HRESULT CDirect3D8::CheckDeviceType(UINT Adapter, D3DDEVTYPE, D3DFORMAT, D3DFORMAT BackBufferFormat, BOOL) {
    if (Adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    const SFormatInfo* info = CFormatInfo::Find(BackBufferFormat);
    return info && info->renderable && !info->depth ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT CDirect3D8::CheckDeviceFormat(UINT Adapter, D3DDEVTYPE, D3DFORMAT, DWORD Usage, D3DRESOURCETYPE RType,
                                      D3DFORMAT CheckFormat) {
    if (Adapter != D3DADAPTER_DEFAULT)
        return D3DERR_INVALIDCALL;
    const SFormatInfo* info = CFormatInfo::Find(CheckFormat);
    if (!info)
        return D3DERR_NOTAVAILABLE;
    if ((Usage & D3DUSAGE_DEPTHSTENCIL) && !info->depth)
        return D3DERR_NOTAVAILABLE;
    if ((Usage & D3DUSAGE_RENDERTARGET) && (!info->renderable || info->depth))
        return D3DERR_NOTAVAILABLE;
    if ((RType == D3DRTYPE_TEXTURE || RType == D3DRTYPE_CUBETEXTURE) && info->depth)
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT CDirect3D8::GetDeviceCaps(UINT Adapter, D3DDEVTYPE, D3DCAPS8* pCaps) {
    if (Adapter != D3DADAPTER_DEFAULT || !pCaps)
        return D3DERR_INVALIDCALL;
    int maxTextureSize = 0;
    float maxPointSize = 0.0f;
    CAdapterSettings::Instance().DeviceLimits(maxTextureSize, maxPointSize);
    *pCaps = BuildCaps(maxTextureSize, maxPointSize);
    return D3D_OK;
}

HRESULT CDirect3D8::CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                                 D3DPRESENT_PARAMETERS* pPresentationParameters,
                                 IDirect3DDevice8** ppReturnedDeviceInterface) {
    if (!ppReturnedDeviceInterface)
        return D3DERR_INVALIDCALL;
    *ppReturnedDeviceInterface = nullptr;
    const HRESULT arranged = CAdapterSettings::Instance().TakeCreateDeviceFailure();
    if (FAILED(arranged))
        return arranged;
    if (!pPresentationParameters || Adapter != D3DADAPTER_DEFAULT || DeviceType < D3DDEVTYPE_HAL ||
        DeviceType > D3DDEVTYPE_SW)
        return D3DERR_INVALIDCALL;
    const DWORD processing = BehaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING |
                                              D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MIXED_VERTEXPROCESSING);
    if (processing == 0 || (processing & (processing - 1)) != 0)
        return D3DERR_INVALIDCALL;
    HWND window = pPresentationParameters->hDeviceWindow ? pPresentationParameters->hDeviceWindow : hFocusWindow;
    if (!window)
        return D3DERR_INVALIDCALL;
    const D3DDEVICE_CREATION_PARAMETERS creation{Adapter, DeviceType, hFocusWindow, BehaviorFlags};
    auto* device = new CDirect3DDevice8(*this, *window, creation, *pPresentationParameters);
    const HRESULT result = device->Initialise();
    if (FAILED(result)) {
        device->Release();
        return result;
    }
    // Direct3D writes the sizes it chose back into the caller's parameters.
    pPresentationParameters->BackBufferWidth = device->BackBufferWidth();
    pPresentationParameters->BackBufferHeight = device->BackBufferHeight();
    *ppReturnedDeviceInterface = device;
    return D3D_OK;
}
