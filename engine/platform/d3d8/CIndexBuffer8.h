#pragma once
// IDirect3DIndexBuffer8: 16- or 32-bit indices for SetIndices.

#include "platform/d3d8/CBufferStorage.h"
#include "platform/d3d8/CResource8.h"

class CIndexBuffer8 final : public CResource8<IDirect3DIndexBuffer8> {
public:
    CIndexBuffer8(CDirect3DDevice8& device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);

    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT offset, UINT size, BYTE** ppbData, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* pDesc) override;

    CBufferStorage& Storage() { return m_storage; }
    UINT IndexSize() const { return m_format == D3DFMT_INDEX32 ? 4 : 2; }

private:
    CBufferStorage m_storage;
    DWORD m_usage;
    D3DFORMAT m_format;
};
