#pragma once
// A static mesh read from a 3D Studio, LightWave or DirectX file ("Imported
// Mesh"). The file is read at Init (from the scene file while a scene loads)
// and copied into the object's buffers; the loaded mesh is not kept.

#include "objects/CBaseObject.h"
#include "platform/base/CString.h"

class CFileMeshObject : public CBaseObject {
public:
    CFileMeshObject() = default;

    // False when the extension is not one of a loader's, or the loader
    // refused the file (after its messages).
    bool Init() override;
    // The file (its contents travel with a packed scene), the directory,
    // then the base part.
    void Save(CSceneFile& file) override;
    // False when the record ends early.
    bool Load(CSceneFile& file) override;

    // The mesh is read by the next Init.
    void SetFilename(CString fileName);
    const CString& GetFilename() const { return m_FileName; }
    // The file name up to and including its last '/' or '\'.
    const CString& GetDirectory() const { return m_Directory; }

protected:
    // Init once PreInit has taken the device: loads the file into the buffers.
    bool CreateMesh();

private:
    CString m_FileName;
    CString m_Directory;
};
