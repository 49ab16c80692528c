#include "meshes/CFileMeshObject.h"

#include <memory>

#include "meshes/CMeshBufferFiller.h"
#include "meshes/CMeshLoader.h"
#include "scene/CSceneFile.h"
#include "scene/CSceneFileException.h"

bool CFileMeshObject::Init() {
    PreInit();
    return CreateMesh();
}

bool CFileMeshObject::CreateMesh() {
    std::unique_ptr<CMeshLoader> loader = CMeshLoader::Create(m_FileName, m_pScene);
    if (!loader) {
        return false;
    }
    std::unique_ptr<SMesh> mesh = loader->Load(m_FileName, nullptr);
    if (!mesh) {
        return false;
    }
    // A texture chosen by the user or restored from the scene file wins over
    // the file's.
    CMeshBufferFiller::SetMaterialsAndSizes(*this, *mesh, true);
    CBaseObject::Init();
    CMeshBufferFiller::CopyGeometry(*this, *mesh, true);
    m_Type = "CFileMeshObject";
    m_Description = "Imported Mesh";
    return true;
}

void CFileMeshObject::SetFilename(CString fileName) {
    m_FileName = fileName;
    m_Directory = CMeshLoader::DirectoryOf(fileName);
}

void CFileMeshObject::Save(CSceneFile& file) {
    file.WriteFile(m_FileName);
    file.WriteString(m_Directory);
    CBaseObject::Save(file);
}

bool CFileMeshObject::Load(CSceneFile& file) {
    try {
        m_FileName = file.ReadFile();
        m_Directory = file.ReadString();
    } catch (const CSceneFileException&) {
        return false;
    }
    return CBaseObject::Load(file);
}
