#pragma once
// Shared part of every resource: reference counting, the owning device (kept
// alive by the resource), pool bookkeeping and priority.

#include "platform/d3d8/CDirect3DDevice8.h"
#include "platform/d3d8/CRefCounted8.h"

template <class Interface>
class CResource8 : public CRefCounted8<Interface> {
public:
    CResource8(CDirect3DDevice8& device, D3DPOOL pool, UINT64 bytes) : m_device(device), m_pool(pool), m_bytes(bytes) {
        m_device.AttachResource(m_pool, m_bytes);
    }
    ~CResource8() override { m_device.DetachResource(m_pool, m_bytes); }

    HRESULT GetDevice(IDirect3DDevice8** ppDevice) override {
        if (!ppDevice)
            return D3DERR_INVALIDCALL;
        m_device.AddRef();
        *ppDevice = &m_device;
        return D3D_OK;
    }
    DWORD SetPriority(DWORD priority) override {
        const DWORD old = m_priority;
        m_priority = priority;
        return old;
    }
    DWORD GetPriority() override { return m_priority; }
    void PreLoad() override {}

    D3DPOOL Pool() const { return m_pool; }

protected:
    CDirect3DDevice8& Device() const { return m_device; }

private:
    CDirect3DDevice8& m_device;
    D3DPOOL m_pool;
    UINT64 m_bytes;
    DWORD m_priority = 0;
};
