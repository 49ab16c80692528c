#include "platform/d3d8/CIndexBuffer8.h"

#include <mutex>

CIndexBuffer8::CIndexBuffer8(CDirect3DDevice8& device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : CResource8(device, pool, length), m_storage(device, length), m_usage(usage), m_format(format) {}

HRESULT CIndexBuffer8::Lock(UINT offset, UINT size, BYTE** ppbData, DWORD flags) {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Lock(offset, size, ppbData, flags);
}

HRESULT CIndexBuffer8::Unlock() {
    std::lock_guard lock(Device().Mutex());
    return m_storage.Unlock();
}

HRESULT CIndexBuffer8::GetDesc(D3DINDEXBUFFER_DESC* pDesc) {
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    *pDesc = {m_format, D3DRTYPE_INDEXBUFFER, m_usage, Pool(), m_storage.Size()};
    return D3D_OK;
}
