#pragma once
// A sequence of meshes of the same topology played as vertex animation
// ("Animated Mesh"). The frame-position curve gives, at each moment, a
// position in the sequence; the object shows the blend of the two meshes
// around it. The cycle runs over all meshes but the last, so a sequence
// whose last file repeats the first loops seamlessly. Normals are computed
// once, from the first mesh. The meshes live as long as the object (or its
// file list): CleanUp releases only device resources, so that Init can build
// the buffers again after a device reset.

#include <memory>
#include <vector>

#include "animation/CInterpolation.h"
#include "meshes/SMesh.h"
#include "objects/CBaseObject.h"
#include "platform/base/CString.h"

class CAnimFileMeshObject : public CBaseObject {
public:
    CAnimFileMeshObject();
    ~CAnimFileMeshObject() override;

    // False without a loaded first mesh.
    bool Init() override;
    void Render() override;
    // Frame-position curve, number of files, each file (its contents travel
    // with a packed scene), then the base part.
    void Save(CSceneFile& file) override;
    // Reads the files back and loads their meshes (from the scene file).
    bool Load(CSceneFile& file) override;

    // Replaces the sequence and loads its meshes; false when a file could not
    // be loaded (the meshes before it are kept).
    bool SetFilenames(const std::vector<CString>& fileNames);
    std::vector<CString>& GetFilenames() { return m_FileNames; }
    // The frame position at the current key frame.
    void SetSpeed(float framePosition);
    float GetSpeed() const;

    unsigned int GetLoadedCount() const { return m_LoadedCount; }
    unsigned int GetSharedVertexCount() const { return m_SharedVertexCount; }
    unsigned int GetCurrentFrame() const { return m_CurrentFrame; }

protected:
    // The base's curves, then the frame position.
    CKeyFrameCurves KeyedCurves() override;
    // Init once PreInit has taken the device: the first mesh into the buffers.
    bool CreateMesh();
    // The blend for the frame-position curve at the scene time.
    void Move();
    // The blend for one frame position.
    void ShowFrame(float framePosition);

private:
    bool LoadMeshes();
    void FreeMeshes();

    CInterpolation m_FramePosition;
    unsigned int m_CurrentFrame = 0;
    unsigned int m_SharedVertexCount = ~0u;
    std::vector<CString> m_FileNames;
    std::vector<std::unique_ptr<SMesh>> m_Meshes;  // one slot per file name; empty when skipped
    unsigned int m_LoadedCount = 0;
};
