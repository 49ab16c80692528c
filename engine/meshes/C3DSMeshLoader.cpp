#include "meshes/C3DSMeshLoader.h"

#include <algorithm>

#include "meshes/CMeshByteReader.h"
#include "meshes/CMeshFileData.h"
#include "platform/base/ErrorReport.h"

namespace {

constexpr std::uint16_t kMainChunk = 0x4D4D;
constexpr std::uint16_t kVersion = 0x0002;
constexpr std::uint16_t kEditorData = 0x3D3D;
constexpr std::uint16_t kNamedObject = 0x4000;
constexpr std::uint16_t kTriangleMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;
constexpr std::uint16_t kFaceList = 0x4120;
constexpr std::uint16_t kFaceMaterial = 0x4130;
constexpr std::uint16_t kTexCoords = 0x4140;
constexpr std::uint16_t kMaterial = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;
constexpr std::uint16_t kDiffuseColour = 0xA020;
constexpr std::uint16_t kTextureMap = 0xA200;
constexpr std::uint16_t kMapFileName = 0xA300;

constexpr size_t kHeaderSize = 6;
// Names live in 255-byte zero-terminated fields.
constexpr size_t kNameKeep = 254;
// Chunks nest a few levels in real files; a deeper nest is damage (and would
// otherwise exhaust the stack).
constexpr int kMaxDepth = 32;
// The colour sub-chunk's data is kept up to this many bytes (three are used).
constexpr size_t kColourKeep = 12;

const char* const kUnknownError = "unknown error. unable to load the model";

void ShowBox(const CString& text, const char* title) {
    MessageBoxA(nullptr, text.c_str(), title, MB_OK);
}

}  // namespace

std::unique_ptr<SMesh> C3DSMeshLoader::Load(CString path, SMesh* /*reference*/) {
    m_Directory = DirectoryOf(path);
    m_Materials.clear();
    m_Objects.clear();
    std::unique_ptr<SMesh> mesh = Parse(path) ? BuildMesh() : nullptr;
    m_Materials.clear();
    m_Objects.clear();
    if (mesh == nullptr) {
        DisplayError(kUnknownError);
        return nullptr;
    }
    if (!CheckVertexLimit(*mesh)) {
        return nullptr;
    }
    return mesh;
}

bool C3DSMeshLoader::Parse(const CString& path) {
    CSceneFile* sceneFile = GetSourceSceneFile();
    CMeshFileData file;
    if (!file.Open(sceneFile, path)) {
        if (sceneFile != nullptr) {
            ShowBox("Unable to find the file in packed data!", "Error");
        } else {
            CString text;
            text.Format("Unable to find the file: %s!", path.c_str());
            ShowBox(text, "Error");
        }
        return false;
    }
    CMeshByteReader reader(file.Data(), file.Size());
    try {
        return ParseData(reader, path, sceneFile != nullptr) && FacesFitVertices();
    } catch (const CMeshFormatError&) {
        return false;
    }
}

bool C3DSMeshLoader::ParseData(CMeshByteReader& reader, const CString& path, bool fromSceneFile) {
    SChunk main;
    std::uint32_t length = 0;
    if (reader.Remaining() >= kHeaderSize) {
        main.id = reader.ReadUInt16LE();
        length = reader.ReadUInt32LE();
    }
    if (main.id != kMainChunk) {
        CString text;
        if (fromSceneFile) {
            text = "Unable to load PRIMARY chuck from file in packed data!";
        } else {
            text.Format("Unable to load PRIMARY chuck from file: %s!", path.c_str());
        }
        ShowBox(text, "Error");
        return false;
    }
    // Reading stops at the end of the data even when the main chunk claims more.
    main.end = std::clamp<size_t>(length, kHeaderSize, reader.Size());
    ReadChildren(reader, main.end, EChildren::Main, 0);
    return true;
}

C3DSMeshLoader::SChunk C3DSMeshLoader::ReadChunk(CMeshByteReader& reader, size_t parentEnd) const {
    reader.SetLimit(parentEnd);
    const size_t start = reader.Position();
    SChunk chunk;
    chunk.id = reader.ReadUInt16LE();
    const std::uint32_t length = reader.ReadUInt32LE();
    if (length < kHeaderSize || length > parentEnd - start) {
        throw CMeshFormatError();
    }
    chunk.end = start + length;
    reader.SetLimit(chunk.end);
    return chunk;
}

// Reads chunks until the parent's length is used up. A handler may stop
// before the end of its chunk; the rest is then read as further children of
// the parent (the face list's material groups are found that way).
void C3DSMeshLoader::ReadChildren(CMeshByteReader& reader, size_t parentEnd, EChildren kind, int depth) {
    if (depth > kMaxDepth) {
        throw CMeshFormatError();
    }
    while (reader.Position() < parentEnd) {
        const SChunk chunk = ReadChunk(reader, parentEnd);
        switch (kind) {
        case EChildren::Main:
            ReadMainChild(reader, chunk, depth + 1);
            break;
        case EChildren::Object:
            ReadObjectChild(reader, chunk, depth + 1);
            break;
        case EChildren::Material:
            ReadMaterialChild(reader, chunk, depth + 1);
            break;
        }
        reader.SetLimit(parentEnd);
    }
}

void C3DSMeshLoader::ReadMainChild(CMeshByteReader& reader, const SChunk& chunk, int depth) {
    switch (chunk.id) {
    case kVersion:
        ReadVersion(reader, chunk);
        break;
    case kEditorData:
        ReadEditorData(reader, chunk, depth);
        break;
    case kNamedObject:
        m_Objects.emplace_back();
        m_Objects.back().name = reader.ReadZeroTerminated(kNameKeep);
        ReadChildren(reader, chunk.end, EChildren::Object, depth);
        break;
    case kMaterial:
        m_Materials.emplace_back();
        ReadChildren(reader, chunk.end, EChildren::Material, depth);
        break;
    default:
        reader.Seek(chunk.end);
        break;
    }
}

void C3DSMeshLoader::ReadObjectChild(CMeshByteReader& reader, const SChunk& chunk, int depth) {
    switch (chunk.id) {
    case kTriangleMesh:
        ReadChildren(reader, chunk.end, EChildren::Object, depth);
        break;
    case kVertexList:
        ReadVertices(reader, chunk);
        break;
    case kFaceList:
        ReadFaces(reader);
        break;
    case kFaceMaterial:
        ReadFaceMaterial(reader, chunk);
        break;
    case kTexCoords:
        ReadTexCoords(reader, chunk);
        break;
    default:
        reader.Seek(chunk.end);
        break;
    }
}

void C3DSMeshLoader::ReadMaterialChild(CMeshByteReader& reader, const SChunk& chunk, int depth) {
    SMaterial& material = m_Materials.back();
    switch (chunk.id) {
    case kMaterialName:
        material.name = reader.ReadText(reader.Remaining(), kNameKeep);
        break;
    case kDiffuseColour:
        ReadColour(reader, chunk);
        break;
    case kTextureMap:
        ReadChildren(reader, chunk.end, EChildren::Material, depth);
        break;
    case kMapFileName:
        material.textureFile = reader.ReadText(reader.Remaining(), kNameKeep);
        break;
    default:
        reader.Seek(chunk.end);
        break;
    }
}

void C3DSMeshLoader::ReadVersion(CMeshByteReader& reader, const SChunk& chunk) {
    std::uint32_t version = 0;
    const size_t bytes = std::min<size_t>(reader.Remaining(), 4);
    for (size_t i = 0; i < bytes; ++i) {
        version |= static_cast<std::uint32_t>(reader.Current()[i]) << (8 * i);
    }
    reader.Seek(chunk.end);
    if (version > 3) {
        ShowBox("This 3DS file is over version 3 so it may load incorrectly", "Warning");
    }
}

// The editor data starts with the mesh version chunk, which is passed over
// whatever its id; the rest holds the objects and materials.
void C3DSMeshLoader::ReadEditorData(CMeshByteReader& reader, const SChunk& chunk, int depth) {
    if (reader.Position() < chunk.end) {
        const SChunk meshVersion = ReadChunk(reader, chunk.end);
        reader.Seek(meshVersion.end);
        reader.SetLimit(chunk.end);
    }
    ReadChildren(reader, chunk.end, EChildren::Main, depth);
}

void C3DSMeshLoader::ReadVertices(CMeshByteReader& reader, const SChunk& chunk) {
    const std::uint16_t count = reader.ReadUInt16LE();
    if (static_cast<size_t>(count) * 12 > reader.Remaining()) {
        throw CMeshFormatError();
    }
    std::vector<float>& positions = m_Objects.back().positions;
    positions.resize(static_cast<size_t>(count) * 3);
    for (size_t i = 0; i < positions.size(); i += 3) {
        const float x = reader.ReadFloatLE();
        const float y = reader.ReadFloatLE();
        const float z = reader.ReadFloatLE();
        positions[i] = x;
        positions[i + 1] = z;
        positions[i + 2] = -y;
    }
    reader.Seek(chunk.end);
}

// Only the faces themselves: the face list's sub-chunks (material groups,
// smoothing groups) follow as further children of the triangle mesh.
void C3DSMeshLoader::ReadFaces(CMeshByteReader& reader) {
    const std::uint16_t count = reader.ReadUInt16LE();
    if (static_cast<size_t>(count) * 8 > reader.Remaining()) {
        throw CMeshFormatError();
    }
    std::vector<std::uint32_t>& indices = m_Objects.back().indices;
    indices.resize(static_cast<size_t>(count) * 3);
    for (size_t i = 0; i < indices.size(); i += 3) {
        indices[i] = reader.ReadUInt16LE();
        indices[i + 1] = reader.ReadUInt16LE();
        indices[i + 2] = reader.ReadUInt16LE();
        reader.ReadUInt16LE();  // edge flags
    }
}

// One material per object: the first group names it, its face list is not used.
void C3DSMeshLoader::ReadFaceMaterial(CMeshByteReader& reader, const SChunk& chunk) {
    const CString name = reader.ReadZeroTerminated(kNameKeep);
    SObject& object = m_Objects.back();
    object.material = -1;
    for (size_t i = 0; i < m_Materials.size(); ++i) {
        if (m_Materials[i].name == name) {
            object.material = static_cast<int>(i);
            object.hasTexture = !m_Materials[i].textureFile.empty();
            break;
        }
    }
    reader.Seek(chunk.end);
}

void C3DSMeshLoader::ReadTexCoords(CMeshByteReader& reader, const SChunk& chunk) {
    const std::uint16_t count = reader.ReadUInt16LE();
    if (static_cast<size_t>(count) * 8 > reader.Remaining()) {
        throw CMeshFormatError();
    }
    std::vector<float>& texCoords = m_Objects.back().texCoords;
    texCoords.resize(static_cast<size_t>(count) * 2);
    for (float& value : texCoords) {
        value = reader.ReadFloatLE();
    }
    reader.Seek(chunk.end);
}

// The colour sub-chunk's id is not checked: its first three bytes are taken
// as red, green and blue (a 24-bit colour chunk). The rest of the diffuse
// chunk (often the gamma-corrected copy) is read as further material chunks.
void C3DSMeshLoader::ReadColour(CMeshByteReader& reader, const SChunk& chunk) {
    const SChunk colour = ReadChunk(reader, chunk.end);
    const size_t kept = std::min(reader.Remaining(), kColourKeep);
    BYTE* rgb = m_Materials.back().colour;
    for (size_t i = 0; i < std::min<size_t>(kept, 3); ++i) {
        rgb[i] = reader.Current()[i];
    }
    reader.Seek(colour.end);
}

bool C3DSMeshLoader::FacesFitVertices() const {
    for (const SObject& object : m_Objects) {
        const std::uint32_t vertexCount = object.VertexCount();
        for (const std::uint32_t index : object.indices) {
            if (index >= vertexCount) {
                return false;
            }
        }
    }
    return true;
}

std::unique_ptr<SMesh> C3DSMeshLoader::BuildMesh() const {
    auto mesh = std::make_unique<SMesh>();
    BuildMaterials(*mesh);

    size_t vertexCount = 0;
    size_t indexCount = 0;
    for (const SObject& object : m_Objects) {
        vertexCount += object.VertexCount();
        indexCount += object.indices.size();
    }
    mesh->vertices.reserve(vertexCount);
    mesh->indices.reserve(indexCount);
    for (const SObject& object : m_Objects) {
        const std::uint32_t offset = static_cast<std::uint32_t>(mesh->vertices.size());
        const std::uint32_t texCoordCount = static_cast<std::uint32_t>(object.texCoords.size() / 2);
        for (std::uint32_t i = 0; i < object.VertexCount(); ++i) {
            SMeshVertex vertex;
            vertex.x = object.positions[i * 3];
            vertex.y = object.positions[i * 3 + 1];
            vertex.z = object.positions[i * 3 + 2];
            // Vertices the texture coordinates do not reach get (0, 0).
            if (i < texCoordCount) {
                vertex.u = object.texCoords[i * 2];
                vertex.v = 1.0f - object.texCoords[i * 2 + 1];
            }
            mesh->vertices.push_back(vertex);
        }
        for (const std::uint32_t index : object.indices) {
            mesh->indices.push_back(index + offset);
        }
    }
    return mesh;
}

// Faces are stored object after object, so each run of consecutive objects
// that share a material becomes one face range. In the usual file (one
// material per object) that is one range per object, in file order. Objects
// without a material (or files without materials) are drawn in grey.
void C3DSMeshLoader::BuildMaterials(SMesh& mesh) const {
    std::uint32_t endFace = 0;
    int runMaterial = -2;  // no run yet
    for (const SObject& object : m_Objects) {
        if (object.FaceCount() == 0) {
            continue;
        }
        endFace += object.FaceCount();
        if (object.material == runMaterial) {
            mesh.materials.back().endFace = endFace;
        } else {
            AppendMaterial(mesh, object.material, endFace);
            runMaterial = object.material;
        }
    }
    if (mesh.materials.empty()) {
        AppendMaterial(mesh, -1, 0);
    }
}

void C3DSMeshLoader::AppendMaterial(SMesh& mesh, int material, std::uint32_t endFace) const {
    SMeshMaterial entry;
    if (material < 0) {
        entry.material = MakeMeshMaterial(0.5f, 0.5f, 0.5f);
    } else {
        const SMaterial& source = m_Materials[static_cast<size_t>(material)];
        entry.material =
            MakeMeshMaterial(source.colour[0] / 256.0f, source.colour[1] / 256.0f, source.colour[2] / 256.0f);
        if (!source.textureFile.empty()) {
            entry.texture = m_Directory + source.textureFile;
        }
    }
    entry.endFace = endFace;
    mesh.materials.push_back(entry);
}
