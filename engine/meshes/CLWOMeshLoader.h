#pragma once
// Loader for LightWave 6/7 objects (".lwo": an IFF "FORM" of type "LWO2",
// big-endian). It reads a narrow subset of the format and refuses the rest
// with a message: one layer, triangles only, UV maps, surface colours and
// still-image textures. Faces are grouped by surface, one material each.
// At the end, vertices are split where neighbouring faces meet at a sharp
// angle, so that the smooth per-vertex normals the engine computes keep the
// model's hard edges.

#include <cstdint>
#include <vector>

#include "meshes/CMeshFileData.h"
#include "meshes/CMeshLoader.h"
#include "platform/base/D3DTypes.h"

class CMeshByteReader;

class CLWOMeshLoader : public CMeshLoader {
public:
    // Faces that meet at less than this angle (radians, 22.5 degrees) share
    // their vertices; sharper edges get a vertex per side.
    static constexpr float kSmoothingLimit = 0.3926991f;

    explicit CLWOMeshLoader(CScene* scene = nullptr) : CMeshLoader(scene) {}

    // reference (may be null): a mesh of the same topology whose positions
    // decide the angle split, so that every frame of an animation is split
    // alike. Null after one message box.
    std::unique_ptr<SMesh> Load(CString path, SMesh* reference) override;

private:
    struct STag {
        std::uint32_t index = 0;
        CString name;
    };
    struct SClip {
        std::uint32_t index = 0;
        CString path;
    };
    // What a SURF chunk says about the faces of one tag.
    struct SSurface {
        std::uint32_t tag = 0;
        D3DCOLORVALUE colour{0.0f, 0.0f, 0.0f, 1.0f};
        CString texture;
    };

    bool OpenFileInBuffer(const CString& path);
    bool Parse(const SMesh* reference);
    bool ReadChunks(CMeshByteReader& reader);
    bool ReadKnownChunk(CMeshByteReader& reader, const char* id, bool& known);

    bool ReadTags(CMeshByteReader& reader);
    bool ReadLayer(CMeshByteReader& reader);
    bool ReadPoints(CMeshByteReader& reader);
    std::uint16_t ReadUvMapHeader(CMeshByteReader& reader);
    bool ReadVertexMap(CMeshByteReader& reader);
    bool ReadPolygons(CMeshByteReader& reader);
    bool ReadPolygonTags(CMeshByteReader& reader);
    bool ReadClip(CMeshByteReader& reader);
    bool ReadSurface(CMeshByteReader& reader);
    void ReadSurfaceBlock(CMeshByteReader& reader, SSurface& surface) const;
    bool ReadDiscontinuousVertexMap(CMeshByteReader& reader);
    static CString ReadName(CMeshByteReader& reader);
    static void SkipPadding(CMeshByteReader& reader);

    bool FacesFitVertices() const;
    void BuildMaterials();
    void CheckAngles(const SMesh* reference);
    std::uint32_t DuplicateVertex(std::uint32_t vertex);

    CMeshFileData m_File;
    CString m_Directory;
    std::unique_ptr<SMesh> m_pMesh;
    std::uint32_t m_LayerCount = 0;
    std::vector<STag> m_Tags;
    std::vector<SClip> m_Clips;
    std::vector<SSurface> m_Surfaces;
    bool m_bHasPolygonTags = false;
    std::vector<std::uint32_t> m_FaceTags;       // per face position
    std::vector<std::uint32_t> m_FacePositions;  // file polygon index -> face position
};
