#include "platform/d3d8/CBufferStorage.h"

#include <epoxy/gl.h>

#include <algorithm>

#include "platform/d3d8/CDirect3DDevice8.h"
#include "platform/d3d8/CGLState.h"

CBufferStorage::CBufferStorage(CDirect3DDevice8& device, UINT size) : m_device(device), m_data(size, 0) {
    m_dirtyBegin = 0;
    m_dirtyEnd = size;
}

CBufferStorage::~CBufferStorage() {
    if (m_name)
        m_device.DeleteGLBuffer(m_name);
}

HRESULT CBufferStorage::Lock(UINT offset, UINT size, BYTE** data, DWORD flags) {
    if (!data)
        return D3DERR_INVALIDCALL;
    *data = nullptr;
    if (offset == 0 && size == 0)
        size = Size();
    if (offset > Size() || size > Size() - offset)
        return D3DERR_INVALIDCALL;
    if (m_lockCount == 0) {
        m_lockBegin = offset;
        m_lockEnd = offset + size;
        m_lockWrites = false;
    } else {
        m_lockBegin = std::min(m_lockBegin, offset);
        m_lockEnd = std::max(m_lockEnd, offset + size);
    }
    if (!(flags & D3DLOCK_READONLY))
        m_lockWrites = true;
    // A discarding lock of the whole buffer lets the next upload replace the
    // GL buffer instead of waiting for draws that still read the old one.
    if ((flags & D3DLOCK_DISCARD) && offset == 0 && size == Size())
        m_orphanOnUpload = true;
    ++m_lockCount;
    *data = m_data.data() + offset;
    return D3D_OK;
}

HRESULT CBufferStorage::Unlock() {
    if (m_lockCount == 0)
        return D3DERR_INVALIDCALL;
    if (--m_lockCount > 0)
        return D3D_OK;
    if (m_lockWrites && m_lockEnd > m_lockBegin) {
        if (m_dirtyEnd <= m_dirtyBegin) {
            m_dirtyBegin = m_lockBegin;
            m_dirtyEnd = m_lockEnd;
        } else {
            m_dirtyBegin = std::min(m_dirtyBegin, m_lockBegin);
            m_dirtyEnd = std::max(m_dirtyEnd, m_lockEnd);
        }
    }
    return D3D_OK;
}

unsigned CBufferStorage::Prepare(CGLState& gl) {
    if (!NeedsUpload())
        return m_name;
    const auto size = static_cast<GLsizeiptr>(m_data.size());
    if (m_name == 0) {
        glGenBuffers(1, &m_name);
        gl.BindArrayBuffer(m_name);
        glBufferData(GL_ARRAY_BUFFER, size, m_data.data(), GL_DYNAMIC_DRAW);
    } else if (m_orphanOnUpload || (m_dirtyBegin == 0 && m_dirtyEnd == m_data.size())) {
        gl.BindArrayBuffer(m_name);
        glBufferData(GL_ARRAY_BUFFER, size, m_data.data(), GL_DYNAMIC_DRAW);
    } else {
        gl.BindArrayBuffer(m_name);
        glBufferSubData(GL_ARRAY_BUFFER, m_dirtyBegin, m_dirtyEnd - m_dirtyBegin, m_data.data() + m_dirtyBegin);
    }
    m_dirtyBegin = m_dirtyEnd = 0;
    m_orphanOnUpload = false;
    return m_name;
}
