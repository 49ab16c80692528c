#pragma once
// Loader for LightWave 6/7 objects (".lwo": an IFF "FORM" of type "LWO2",
// big-endian). It reads the polygons of every layer into one mesh and cuts
// those of more than three points into triangles; lines and single points,
// which have no area, are left out.
// Texture coordinates come from UV maps, per point, and per polygon corner
// where the file has them. Faces are grouped by surface, one material each,
// with the surface colour and still-image texture. Subdivision patches and
// other curved or non-drawing polygon types are refused with a message.
// At the end, vertices are split where neighbouring faces meet at a sharp
// angle, so that the smooth per-vertex normals the engine computes keep the
// model's hard edges.

#include <cstdint>
#include <map>
#include <tuple>
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
    // Polygons without a surface tag come after all tagged ones.
    static constexpr std::uint32_t kNoTag = 0xFFFFFFFFu;
    struct SPolygon {
        std::uint32_t firstPoint = 0;  // into m_PolygonPoints
        std::uint32_t pointCount = 0;
        std::uint32_t tag = kNoTag;
    };
    struct SCornerUv {
        float u = 0.0f;
        float v = 0.0f;
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
    // A point or polygon number in the format's variable form: two bytes, or
    // four whose first is 0xFF (which is not part of the number).
    static std::uint32_t ReadIndex(CMeshByteReader& reader);
    // The layer's point with this number, as an index into the mesh's
    // vertices; a number outside the layer's points refuses the file.
    std::uint32_t LayerPoint(std::uint32_t point) const;
    // The polygon with this number in the last polygon list read.
    SPolygon& ListPolygon(std::uint32_t polygon);

    void BuildFaces();
    std::uint32_t CornerVertex(std::uint32_t polygon, std::uint32_t point);
    void BuildMaterials(const std::vector<std::uint32_t>& faceTags);
    void CheckAngles(const SMesh* reference);
    std::uint32_t DuplicateVertex(std::uint32_t vertex);

    CMeshFileData m_File;
    CString m_Directory;
    std::unique_ptr<SMesh> m_pMesh;
    std::vector<STag> m_Tags;
    std::vector<SClip> m_Clips;
    std::vector<SSurface> m_Surfaces;

    // The layer being read: where its points and its last polygon list start
    // among those of all layers.
    std::uint32_t m_LayerFirstPoint = 0;
    std::uint32_t m_LayerPointCount = 0;
    std::uint32_t m_ListFirstPolygon = 0;

    std::vector<SPolygon> m_Polygons;            // of every layer, in file order
    std::vector<std::uint32_t> m_PolygonPoints;  // mesh vertex per polygon corner
    // Per-corner texture coordinates by (polygon, vertex of the point).
    std::map<std::pair<std::uint32_t, std::uint32_t>, SCornerUv> m_CornerUvs;
    // Copies made for per-corner coordinates, by (point, u bits, v bits):
    // corners with the same coordinates share one.
    std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, std::uint32_t> m_UvCopies;
};
