#pragma once
// Loader for 3D Studio files (".3ds"): a tree of little-endian chunks (16-bit
// id, 32-bit length that includes the 6-byte header). The loader keeps the
// named objects (vertices, faces, texture coordinates, one material each) and
// the materials (name, texture file, diffuse colour) and skips every other
// chunk. 3D Studio is z-up; the engine is y-up, so a file vertex (x, y, z)
// becomes (x, z, -y), and texture v runs the other way (v becomes 1 - v).

#include <cstdint>
#include <vector>

#include "meshes/CMeshLoader.h"
#include "platform/base/WinTypes.h"

class CMeshByteReader;

class C3DSMeshLoader : public CMeshLoader {
public:
    explicit C3DSMeshLoader(CScene* scene = nullptr) : CMeshLoader(scene) {}

    // Ignores reference. Null after "unknown error. unable to load the model"
    // (and the message that says why, where there is one).
    std::unique_ptr<SMesh> Load(CString path, SMesh* reference) override;

private:
    struct SMaterial {
        CString name;
        CString textureFile;
        BYTE colour[3] = {0, 0, 0};  // red, green, blue
    };

    struct SObject {
        CString name;
        int material = -1;  // index into the materials, -1 for none
        bool hasTexture = false;
        std::vector<float> positions;        // x, y, z per vertex, already y-up
        std::vector<float> texCoords;        // u, v per vertex, as in the file
        std::vector<std::uint32_t> indices;  // three per face
        std::uint32_t VertexCount() const { return static_cast<std::uint32_t>(positions.size() / 3); }
        std::uint32_t FaceCount() const { return static_cast<std::uint32_t>(indices.size() / 3); }
    };

    struct SChunk {
        std::uint16_t id = 0;
        size_t end = 0;  // offset one past the chunk's last byte
    };

    enum class EChildren {
        Main,
        Object,
        Material
    };

    bool Parse(const CString& path);
    bool ParseData(CMeshByteReader& reader, const CString& path, bool fromSceneFile);
    SChunk ReadChunk(CMeshByteReader& reader, size_t parentEnd) const;
    void ReadChildren(CMeshByteReader& reader, size_t parentEnd, EChildren kind, int depth);
    void ReadMainChild(CMeshByteReader& reader, const SChunk& chunk, int depth);
    void ReadObjectChild(CMeshByteReader& reader, const SChunk& chunk, int depth);
    void ReadMaterialChild(CMeshByteReader& reader, const SChunk& chunk, int depth);

    void ReadVersion(CMeshByteReader& reader, const SChunk& chunk);
    void ReadEditorData(CMeshByteReader& reader, const SChunk& chunk, int depth);
    void ReadVertices(CMeshByteReader& reader, const SChunk& chunk);
    void ReadFaces(CMeshByteReader& reader);
    void ReadFaceMaterial(CMeshByteReader& reader, const SChunk& chunk);
    void ReadTexCoords(CMeshByteReader& reader, const SChunk& chunk);
    void ReadColour(CMeshByteReader& reader, const SChunk& chunk);
    bool FacesFitVertices() const;

    std::unique_ptr<SMesh> BuildMesh() const;
    void BuildMaterials(SMesh& mesh) const;
    void AppendMaterial(SMesh& mesh, int material, std::uint32_t endFace) const;

    CString m_Directory;
    std::vector<SMaterial> m_Materials;
    std::vector<SObject> m_Objects;
};
