#pragma once
// IDirect3D8: the adapter (display modes, capabilities, format checks) and the
// factory of devices. Created by Direct3DCreate8.

#include "platform/d3d8/CRefCounted8.h"
#include "platform/d3d8/d3d8.h"

class CDirect3D8 final : public CRefCounted8<IDirect3D8> {
public:
    // The capabilities of a device with the given GL limits.
    static D3DCAPS8 BuildCaps(int maxTextureSize, float maxPointSize);

    UINT GetAdapterCount() override { return 1; }
    UINT GetAdapterModeCount(UINT Adapter) override;
    HRESULT EnumAdapterModes(UINT Adapter, UINT Mode, D3DDISPLAYMODE* pMode) override;
    HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override;
    HRESULT CheckDeviceType(UINT Adapter, D3DDEVTYPE CheckType, D3DFORMAT DisplayFormat, D3DFORMAT BackBufferFormat,
                            BOOL Windowed) override;
    HRESULT CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat, DWORD Usage,
                              D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) override;
    HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS8* pCaps) override;
    HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                         D3DPRESENT_PARAMETERS* pPresentationParameters,
                         IDirect3DDevice8** ppReturnedDeviceInterface) override;
};
