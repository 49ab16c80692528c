#include "meshes/CMeshFileData.h"

#include "scene/CBNFile.h"
#include "scene/CSceneFile.h"

bool CMeshFileData::Open(CSceneFile* sceneFile, const CString& path) {
    m_DiskBytes.clear();
    m_pData = nullptr;
    m_Size = 0;
    if (sceneFile != nullptr) {
        BYTE* embedded = nullptr;
        const int size = sceneFile->GetFile(path, embedded);
        if (size <= 0) {
            return false;
        }
        m_pData = embedded;
        m_Size = static_cast<size_t>(size);
        return true;
    }
    if (!CBNFile::ReadAll(path, m_DiskBytes)) {
        return false;
    }
    m_pData = m_DiskBytes.data();
    m_Size = m_DiskBytes.size();
    return true;
}
