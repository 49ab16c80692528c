#pragma once
// The frame every mesh loader fits in: a loader belongs to a scene (or none),
// reads one file with Load and returns a new SMesh, or null after telling the
// user why.
//
// Where the bytes come from is the same for every loader: while the scene is
// being loaded from a scene file, the mesh file is one of the files embedded
// in that scene file (there is no fall-back to the disk: a missing name is
// reported); otherwise it is read from the disk.

#include <cstdint>
#include <memory>

#include "meshes/SMesh.h"
#include "platform/base/CString.h"

class CScene;
class CSceneFile;

class CMeshLoader {
public:
    // The most vertices a mesh may have: the mesh objects draw through 16-bit
    // indices.
    static constexpr std::uint32_t kMaxVertices = 65535;

    explicit CMeshLoader(CScene* scene = nullptr) : m_pScene(scene) {}
    CMeshLoader(const CMeshLoader&) = default;
    CMeshLoader& operator=(const CMeshLoader&) = default;
    virtual ~CMeshLoader() = default;

    // reference: a mesh of the same topology whose positions steer loaders
    // that split vertices (LightWave); the others ignore it. Returns the new
    // mesh, or null after the loader's messages.
    virtual std::unique_ptr<SMesh> Load(CString path, SMesh* reference) = 0;

    // The loader for a file name by its extension (compared lower-cased):
    // "lwo" LightWave, "3ds" 3D Studio, ".x" DirectX; null for any other.
    static std::unique_ptr<CMeshLoader> Create(const CString& fileName, CScene* scene);

    CScene* GetScene() const { return m_pScene; }
    // Takes the mesh files from this scene file rather than from the current
    // scene file of the loader's scene (reading a scene file outside a scene
    // load: tests, fuzzing). Null restores the normal rule.
    void SetSceneFile(CSceneFile* sceneFile) { m_pSceneFile = sceneFile; }

    // The text shown (in the "Mesh importer Error" box) for a mesh that has
    // more vertices than kMaxVertices.
    static CString TooManyVerticesMessage();
    // The folder part of a path, up to and including its last '/' or '\'
    // (scene files written on Windows hold backslash paths); empty when none.
    static CString DirectoryOf(const CString& path);
    // The part after the last '/' or '\' (the whole path when there is none).
    static CString FileNameOf(const CString& path);

protected:
    // A message box titled "Mesh importer Error".
    void DisplayError(const CString& text) const;
    // The scene file the mesh comes from, or null when it comes from the disk.
    CSceneFile* GetSourceSceneFile() const;
    // False, after the message, for a mesh that 16-bit indices cannot address.
    bool CheckVertexLimit(const SMesh& mesh) const;

private:
    CScene* m_pScene = nullptr;
    CSceneFile* m_pSceneFile = nullptr;
};
