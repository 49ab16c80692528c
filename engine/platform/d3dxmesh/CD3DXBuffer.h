#pragma once
// ID3DXBuffer: a reference-counted block of bytes (materials, adjacency).

#include <vector>

#include "platform/d3d8/CRefCounted8.h"
#include "platform/d3dxmesh/d3dx8mesh.h"

class CD3DXBuffer : public CRefCounted8<ID3DXBuffer> {
public:
    explicit CD3DXBuffer(size_t size) : m_Bytes(size, 0) {}

    LPVOID GetBufferPointer() override { return m_Bytes.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(m_Bytes.size()); }

private:
    std::vector<BYTE> m_Bytes;
};
