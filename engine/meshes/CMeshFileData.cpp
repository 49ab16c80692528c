#include "meshes/CMeshFileData.h"

#include <filesystem>
#include <fstream>

#include "scene/CBNFile.h"
#include "scene/CSceneFile.h"

namespace {

// One read of the file's size where the size is known up front (a regular
// file); anything else is read in pieces until its end.
bool ReadWholeFile(const CString& path, std::vector<BYTE>& bytes) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path.c_str(), error);
    if (error || !std::filesystem::is_regular_file(path.c_str(), error)) {
        return CBNFile::ReadAll(path, bytes);
    }
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(file.gcount()) != size) {
        return CBNFile::ReadAll(path, bytes);  // the file changed while it was read
    }
    return true;
}

}  // namespace

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
    if (!ReadWholeFile(path, m_DiskBytes)) {
        return false;
    }
    m_pData = m_DiskBytes.data();
    m_Size = m_DiskBytes.size();
    return true;
}
