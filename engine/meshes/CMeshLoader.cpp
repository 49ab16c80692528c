#include "meshes/CMeshLoader.h"

#include <algorithm>

#include "meshes/C3DSMeshLoader.h"
#include "meshes/CLWOMeshLoader.h"
#include "meshes/CXMeshLoader.h"
#include "platform/base/ErrorReport.h"
#include "scene/CScene.h"

namespace {

int LastSeparator(const CString& path) {
    return std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
}

}  // namespace

std::unique_ptr<CMeshLoader> CMeshLoader::Create(const CString& fileName, CScene* scene) {
    CString extension = fileName.Right(3);
    extension.MakeLower();
    if (extension == "lwo") {
        return std::make_unique<CLWOMeshLoader>(scene);
    }
    if (extension == "3ds") {
        return std::make_unique<C3DSMeshLoader>(scene);
    }
    if (extension.Right(2) == ".x") {
        return std::make_unique<CXMeshLoader>(scene);
    }
    return nullptr;
}

CString CMeshLoader::TooManyVerticesMessage() {
    CString text;
    text.Format(
        "Unable to load the mesh: it has more than %u vertices. Please split or simplify it before "
        "importing.",
        kMaxVertices);
    return text;
}

CString CMeshLoader::DirectoryOf(const CString& path) {
    return path.Left(LastSeparator(path) + 1);
}

CString CMeshLoader::FileNameOf(const CString& path) {
    return path.Mid(LastSeparator(path) + 1);
}

void CMeshLoader::DisplayError(const CString& text) const {
    MessageBoxA(nullptr, text.c_str(), "Mesh importer Error", MB_OK);
}

CSceneFile* CMeshLoader::GetSourceSceneFile() const {
    if (m_pSceneFile != nullptr) {
        return m_pSceneFile;
    }
    return m_pScene != nullptr ? m_pScene->GetSceneFile() : nullptr;
}

bool CMeshLoader::CheckVertexLimit(const SMesh& mesh) const {
    if (mesh.vertices.size() <= kMaxVertices) {
        return true;
    }
    DisplayError(TooManyVerticesMessage());
    return false;
}
