#include "platform/d3d8/CVertexBuffer8.h"

#include <mutex>

CVertexBuffer8::CVertexBuffer8(CDirect3DDevice8& device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : CResource8(device, pool, length), m_storage(device, length), m_usage(usage), m_fvf(fvf) {}

HRESULT CVertexBuffer8::Lock(UINT offset, UINT size, BYTE** ppbData, DWORD flags) {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Lock(offset, size, ppbData, flags);
}

HRESULT CVertexBuffer8::Unlock() {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Unlock();
}

HRESULT CVertexBuffer8::GetDesc(D3DVERTEXBUFFER_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    *pDesc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, m_usage, Pool(), m_storage.Size(), m_fvf};
    return D3D_OK;
}
