#pragma once
// The bytes of one mesh file, taken from the scene file being read or from
// the disk. Embedded bytes stay owned by the scene file; disk bytes are owned
// here.

#include <cstddef>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CSceneFile;

class CMeshFileData {
public:
    // sceneFile not null: the embedded file of exactly that name (a missing or
    // empty one counts as absent); otherwise the whole file from the disk.
    // False when there are no bytes to be had.
    bool Open(CSceneFile* sceneFile, const CString& path);

    const BYTE* Data() const { return m_pData; }
    size_t Size() const { return m_Size; }

private:
    std::vector<BYTE> m_DiskBytes;
    const BYTE* m_pData = nullptr;
    size_t m_Size = 0;
};
