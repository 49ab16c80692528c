#pragma once
// The memory behind a vertex or index buffer: a CPU copy that Lock hands out
// (from any thread) and a GL buffer object that the GL thread creates and
// refreshes from the changed byte range when the buffer is next drawn.

#include <vector>

#include "platform/d3d8/d3d8types.h"

class CDirect3DDevice8;
class CGLState;

class CBufferStorage {
public:
    CBufferStorage(CDirect3DDevice8& device, UINT size);
    ~CBufferStorage();
    CBufferStorage(const CBufferStorage&) = delete;
    CBufferStorage& operator=(const CBufferStorage&) = delete;

    UINT Size() const { return static_cast<UINT>(m_data.size()); }
    // Offset and size 0 lock the whole buffer.
    HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags);
    HRESULT Unlock();

    // GL thread: the buffer object with every change uploaded.
    bool NeedsUpload() const { return m_name == 0 || m_dirtyEnd > m_dirtyBegin; }
    unsigned Prepare(CGLState& gl);
    const BYTE* Data() const { return m_data.data(); }

private:
    CDirect3DDevice8& m_device;
    std::vector<BYTE> m_data;
    unsigned m_name = 0;
    UINT m_dirtyBegin = 0;
    UINT m_dirtyEnd = 0;
    bool m_orphanOnUpload = false;
    int m_lockCount = 0;
    UINT m_lockBegin = 0;
    UINT m_lockEnd = 0;
    bool m_lockWrites = false;
};
