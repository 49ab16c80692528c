#pragma once
// Turns the data objects of a ".x" file into the one mesh D3DX gives back:
// every Mesh placed by the transforms of its frames (a top-level mesh that a
// frame refers to by name is drawn where the frame puts it), polygons split
// into fans of triangles, faces ordered by material (the materials of the
// meshes one after the other, references resolved by name), corners that
// agree in every value sharing a vertex within a mesh's material. Every
// count and index is checked against the data it describes.

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/d3dxmesh/CXFileImporter.h"
#include "platform/d3dxmesh/CXFileParser.h"

class CXFileMeshBuilder {
public:
    explicit CXFileMeshBuilder(const SXFileObject& root) : m_Root(root) {}

    // D3D_OK; D3DXERR_INVALIDDATA for inconsistent data (a count past the
    // end of its member, an index out of range, a reference to an unknown
    // name); D3DXERR_LOADEDMESHHASNODATA when no triangle is left.
    HRESULT Build(SXFileMesh& out);

private:
    using Matrix = std::array<double, 16>;

    // One Mesh object as the file describes it.
    struct SSourceMesh {
        std::vector<float> positions;                 // 3 per vertex
        std::vector<std::uint32_t> polygonStarts;     // into corners; one more than polygons
        std::vector<std::uint32_t> corners;           // vertex numbers
        std::vector<float> normals;                   // 3 per normal
        std::vector<std::uint32_t> normalCorners;     // parallel to corners, when normals are used
        std::vector<float> texCoords;                 // 2 per vertex, or none
        std::vector<DWORD> colours;                   // 1 per vertex, or none
        std::vector<std::uint32_t> polygonMaterials;  // 1 per polygon, into materials
        std::vector<SXFileMaterial> materials;
        size_t triangles = 0;
    };

    struct SPlaced {
        const SXFileObject* mesh;
        Matrix transform;
        bool topLevel;
    };

    void IndexNames(const SXFileObject& object);
    bool PlaceFrame(const SXFileObject& frame, const Matrix& parent);
    bool DecodeMesh(const SXFileObject& object, SSourceMesh& mesh) const;
    bool DecodeNormals(const SXFileObject& object, SSourceMesh& mesh) const;
    bool DecodeColours(const SXFileObject& object, std::uint32_t vertexCount, SSourceMesh& mesh) const;
    bool DecodeMaterialList(const SXFileObject& list, SSourceMesh& mesh) const;
    bool DecodeMaterial(const SXFileObject& object, SXFileMaterial& material) const;
    void Append(const SSourceMesh& mesh, const Matrix& transform, std::uint32_t material, DWORD attribute,
                SXFileMesh& out) const;

    const SXFileObject& m_Root;
    std::map<std::string, const SXFileObject*> m_Meshes;
    std::map<std::string, const SXFileObject*> m_Materials;
    std::set<std::string> m_Names;       // every named object
    std::set<std::string> m_Referenced;  // meshes that frames place by name
    std::vector<SPlaced> m_Placed;
};
