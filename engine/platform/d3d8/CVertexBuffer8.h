#pragma once
// IDirect3DVertexBuffer8: vertex data for SetStreamSource.

#include "platform/d3d8/CBufferStorage.h"
#include "platform/d3d8/CResource8.h"

class CVertexBuffer8 final : public CResource8<IDirect3DVertexBuffer8> {
public:
    CVertexBuffer8(CDirect3DDevice8& device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, BYTE** ppbData, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* pDesc) override;

    CBufferStorage& Storage() { return m_storage; }

private:
    CBufferStorage m_storage;
    DWORD m_usage;
    DWORD m_fvf;
};
