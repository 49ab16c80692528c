#include "meshes/CLWOMeshLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "core/CTools.h"
#include "meshes/CMeshByteReader.h"

namespace {

const char* const kUnknownError = "unknown error. unable to load the model";
const char* const kNoFormMessage = "File is not LW model (can't find FORM chunk)";
const char* const kNoLwo2Message = "File is not LW 6.x - 7.x  model (can't find LWO2 chunk)";
const char* const kLayerMessage =
    "This loader does not support multi layer objects, please flatten your objet before loading.";
const char* const kUvOnlyMessage =
    "Loader does only support UV texture mapping no weight map or subpatches. Loading aborted.";
const char* const kFaceTypeMessage =
    "This loader supports only regular polygons. it does not support Catmull-rom splines, bone, metaballs or "
    "subdivision patches";
const char* const kTriangulateMessage =
    "Unable to load the mesh: This mesh contains faces with more than 3 points. Please triangulate your object "
    "before importing.";
const char* const kTagTypeMessage = "Loader found another tag then SURF after PTAG tag. File cannot be loaded.";
const char* const kClipCountMessage =
    "This loader supports only 256 textures... please reduce the number of textures of the model.";
const char* const kClipTypeMessage =
    "This loader supports only still image texture. it does not support animation as texture";
const char* const kColourFirstMessage = "Found another tag then COLR after SURF tag. Loading failed.";

constexpr size_t kHeaderSize = 12;  // "FORM", size, "LWO2"
constexpr std::uint32_t kClipLimit = 257;
constexpr size_t kMaxAngleGroups = 1024;

D3DXVECTOR3 PositionOf(const SMeshVertex& vertex) {
    return D3DXVECTOR3(vertex.x, vertex.y, vertex.z);
}

}  // namespace

std::unique_ptr<SMesh> CLWOMeshLoader::Load(CString path, SMesh* reference) {
    m_Directory = DirectoryOf(path);
    if (!OpenFileInBuffer(path)) {
        return nullptr;
    }
    m_pMesh = std::make_unique<SMesh>();
    const bool parsed = Parse(reference);
    std::unique_ptr<SMesh> mesh = std::move(m_pMesh);
    m_File = CMeshFileData();
    if (!parsed) {
        return nullptr;
    }
    return mesh;
}

bool CLWOMeshLoader::OpenFileInBuffer(const CString& path) {
    CSceneFile* sceneFile = GetSourceSceneFile();
    if (m_File.Open(sceneFile, path)) {
        return true;
    }
    CTools::Error("Mesh loading: Unable to load mesh \"" + path +
                  "\": " + (sceneFile != nullptr ? "not found in the archive." : "not found in the disk."));
    return false;
}

bool CLWOMeshLoader::Parse(const SMesh* reference) {
    m_LayerCount = 0;
    m_Tags.clear();
    m_Clips.clear();
    m_Surfaces.clear();
    m_bHasPolygonTags = false;
    m_FaceTags.clear();
    m_FacePositions.clear();

    CMeshByteReader reader(m_File.Data(), m_File.Size());
    if (!reader.IsIdentifier("FORM")) {
        DisplayError(kNoFormMessage);
        return false;
    }
    if (m_File.Size() < kHeaderSize || std::memcmp(m_File.Data() + 8, "LWO2", 4) != 0) {
        DisplayError(kNoLwo2Message);
        return false;
    }
    try {
        if (!ReadChunks(reader)) {
            return false;
        }
        if (!FacesFitVertices()) {
            throw CMeshFormatError();
        }
    } catch (const CMeshFormatError&) {
        DisplayError(kUnknownError);
        return false;
    }
    BuildMaterials();
    CheckAngles(reference);
    return CheckVertexLimit(*m_pMesh);
}

// The top-level chunks in file order. The FORM size is not used: the chunks
// run to the end of the data.
bool CLWOMeshLoader::ReadChunks(CMeshByteReader& reader) {
    reader.Seek(kHeaderSize);
    while (reader.Remaining() >= 4) {
        char id[5] = {};
        std::memcpy(id, reader.Current(), 4);
        reader.Skip(4);
        bool known = false;
        if (!ReadKnownChunk(reader, id, known)) {
            return false;
        }
        if (known) {
            continue;
        }
        // Any other chunk is passed over; one that reaches into the last 12
        // bytes ends the object.
        if (reader.Remaining() < 4) {
            return true;
        }
        const std::uint32_t size = reader.ReadUInt32BE();
        const std::uint64_t next = reader.Position() + static_cast<std::uint64_t>(size) + (size & 1u);
        if (next + kHeaderSize > reader.Size()) {
            return true;
        }
        reader.Seek(static_cast<size_t>(next));
    }
    return true;
}

// Runs the handler of a chunk this loader reads, inside the chunk's bounds,
// and moves past the chunk (and its pad byte: IFF chunks are even-aligned).
bool CLWOMeshLoader::ReadKnownChunk(CMeshByteReader& reader, const char* id, bool& known) {
    using Handler = bool (CLWOMeshLoader::*)(CMeshByteReader&);
    struct SEntry {
        const char* id;
        Handler handler;
    };
    static constexpr SEntry kHandlers[] = {
        {"TAGS", &CLWOMeshLoader::ReadTags},
        {"LAYR", &CLWOMeshLoader::ReadLayer},
        {"PNTS", &CLWOMeshLoader::ReadPoints},
        {"VMAP", &CLWOMeshLoader::ReadVertexMap},
        {"POLS", &CLWOMeshLoader::ReadPolygons},
        {"PTAG", &CLWOMeshLoader::ReadPolygonTags},
        {"CLIP", &CLWOMeshLoader::ReadClip},
        {"SURF", &CLWOMeshLoader::ReadSurface},
        {"VMAD", &CLWOMeshLoader::ReadDiscontinuousVertexMap},
    };
    const auto entry = std::find_if(std::begin(kHandlers), std::end(kHandlers),
                                    [id](const SEntry& e) { return std::strcmp(e.id, id) == 0; });
    known = entry != std::end(kHandlers);
    if (!known) {
        return true;
    }
    const std::uint32_t size = reader.ReadUInt32BE();
    if (size > reader.Remaining()) {
        throw CMeshFormatError();
    }
    const size_t end = reader.Position() + size;
    reader.SetLimit(end);
    if (!(this->*entry->handler)(reader)) {
        return false;
    }
    reader.SetLimit(reader.Size());
    reader.Seek(std::min(end + (size & 1u), reader.Size()));
    return true;
}

// Names are zero-terminated and padded to an even offset.
CString CLWOMeshLoader::ReadName(CMeshByteReader& reader) {
    CString name = reader.ReadZeroTerminated(static_cast<size_t>(-1));
    if (reader.Position() % 2 != 0 && reader.Remaining() > 0) {
        reader.Skip(1);
    }
    return name;
}

// Chunks and sub-chunks of odd size are followed by a pad byte.
void CLWOMeshLoader::SkipPadding(CMeshByteReader& reader) {
    if (reader.Position() % 2 != 0 && reader.Remaining() > 0) {
        reader.Skip(1);
    }
}

bool CLWOMeshLoader::ReadTags(CMeshByteReader& reader) {
    while (reader.Remaining() > 0) {
        STag tag;
        tag.index = static_cast<std::uint32_t>(m_Tags.size());
        tag.name = ReadName(reader);
        m_Tags.push_back(tag);
    }
    return true;
}

bool CLWOMeshLoader::ReadLayer(CMeshByteReader& /*reader*/) {
    if (++m_LayerCount > 1) {
        DisplayError(kLayerMessage);
        return false;
    }
    return true;
}

bool CLWOMeshLoader::ReadPoints(CMeshByteReader& reader) {
    std::vector<SMeshVertex>& vertices = m_pMesh->vertices;
    vertices.assign(reader.Remaining() / 12, SMeshVertex());
    for (SMeshVertex& vertex : vertices) {
        vertex.x = reader.ReadFloatBE();
        vertex.y = reader.ReadFloatBE();
        vertex.z = reader.ReadFloatBE();
    }
    return true;
}

// The head of a texture-coordinate map: type "TXUV" (other maps are refused
// with a message), dimension (at least u and v) and name. Gives the
// dimension, or 0 after the message.
std::uint16_t CLWOMeshLoader::ReadUvMapHeader(CMeshByteReader& reader) {
    if (!reader.IsIdentifier("TXUV")) {
        DisplayError(kUvOnlyMessage);
        return 0;
    }
    reader.Skip(4);
    const std::uint16_t dimension = reader.ReadUInt16BE();
    if (dimension < 2) {
        throw CMeshFormatError();
    }
    ReadName(reader);
    return dimension;
}

bool CLWOMeshLoader::ReadVertexMap(CMeshByteReader& reader) {
    const std::uint16_t dimension = ReadUvMapHeader(reader);
    if (dimension == 0) {
        return false;
    }
    std::vector<SMeshVertex>& vertices = m_pMesh->vertices;
    while (reader.Remaining() > 0) {
        const std::uint16_t vertex = reader.ReadUInt16BE();
        const float u = reader.ReadFloatBE();
        const float v = reader.ReadFloatBE();
        reader.Skip((dimension - 2u) * 4u);
        if (vertex >= vertices.size()) {
            throw CMeshFormatError();
        }
        vertices[vertex].u = u;
        vertices[vertex].v = 1.0f - v;
    }
    return true;
}

// Only triangles are accepted: every polygon must have exactly three points
// (the count is taken whole, flag bits included).
bool CLWOMeshLoader::ReadPolygons(CMeshByteReader& reader) {
    if (!reader.IsIdentifier("FACE")) {
        DisplayError(kFaceTypeMessage);
        return false;
    }
    reader.Skip(4);
    std::vector<std::uint32_t> indices;
    indices.reserve(reader.Remaining() / 8 * 3);
    while (reader.Remaining() > 0) {
        if (reader.ReadUInt16BE() != 3) {
            DisplayError(kTriangulateMessage);
            return false;
        }
        for (int corner = 0; corner < 3; ++corner) {
            indices.push_back(reader.ReadUInt16BE());
        }
    }
    m_pMesh->indices = std::move(indices);
    const std::uint32_t faceCount = m_pMesh->GetNumFaces();
    m_FaceTags.assign(faceCount, 0);
    m_FacePositions.resize(faceCount);
    std::iota(m_FacePositions.begin(), m_FacePositions.end(), 0u);
    m_bHasPolygonTags = false;
    return true;
}

// Entry i gives the tag of polygon i; the faces are then ordered by tag
// (stable), so that each tag's faces form one range.
bool CLWOMeshLoader::ReadPolygonTags(CMeshByteReader& reader) {
    if (!reader.IsIdentifier("SURF")) {
        DisplayError(kTagTypeMessage);
        return false;
    }
    reader.Skip(4);
    const size_t count = reader.Remaining() / 4;
    for (size_t i = 0; i < count; ++i) {
        reader.Skip(2);  // polygon index
        const std::uint16_t tag = reader.ReadUInt16BE();
        if (i < m_FacePositions.size()) {
            m_FaceTags[m_FacePositions[i]] = tag;
        }
    }
    m_bHasPolygonTags = true;

    const size_t faceCount = m_FaceTags.size();
    std::vector<std::uint32_t> order(faceCount);  // new position -> old position
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return m_FaceTags[a] < m_FaceTags[b]; });
    std::vector<std::uint32_t> indices(m_pMesh->indices.size());
    std::vector<std::uint32_t> tags(faceCount);
    std::vector<std::uint32_t> newPosition(faceCount);
    for (size_t position = 0; position < faceCount; ++position) {
        const std::uint32_t old = order[position];
        std::copy_n(m_pMesh->indices.begin() + old * 3, 3, indices.begin() + position * 3);
        tags[position] = m_FaceTags[old];
        newPosition[old] = static_cast<std::uint32_t>(position);
    }
    for (std::uint32_t& position : m_FacePositions) {
        position = newPosition[position];
    }
    m_pMesh->indices = std::move(indices);
    m_FaceTags = std::move(tags);
    return true;
}

bool CLWOMeshLoader::ReadClip(CMeshByteReader& reader) {
    const std::uint32_t index = reader.ReadUInt32BE();
    if (index >= kClipLimit) {
        DisplayError(kClipCountMessage);
        return false;
    }
    if (!reader.IsIdentifier("STIL")) {
        DisplayError(kClipTypeMessage);
        return false;
    }
    reader.Skip(4);
    const std::uint16_t size = reader.ReadUInt16BE();
    const CString name = reader.ReadText(size, static_cast<size_t>(-1));
    m_Clips.push_back(SClip{index, m_Directory + FileNameOf(name)});
    return true;
}

// A surface: its colour (the first sub-chunk must be COLR) and the still
// image of its texture blocks, for the faces of the tag of the same name.
bool CLWOMeshLoader::ReadSurface(CMeshByteReader& reader) {
    const CString name = ReadName(reader);
    ReadName(reader);  // source surface
    if (!reader.IsIdentifier("COLR")) {
        DisplayError(kColourFirstMessage);
        return false;
    }
    reader.Skip(4);
    SSurface surface;
    const std::uint16_t colourSize = reader.ReadUInt16BE();
    const size_t colourStart = reader.Position();
    surface.colour.r = reader.ReadFloatBE();
    surface.colour.g = reader.ReadFloatBE();
    surface.colour.b = reader.ReadFloatBE();
    reader.Seek(std::max(reader.Position(), colourStart + colourSize));
    SkipPadding(reader);

    while (reader.Remaining() > 0) {
        const bool isBlock = reader.IsIdentifier("BLOK");
        reader.Skip(4);
        const std::uint16_t size = reader.ReadUInt16BE();
        const size_t start = reader.Position();
        if (size > reader.Remaining()) {
            throw CMeshFormatError();
        }
        // The diffuse and specular level sub-chunks carry a level the engine does not use: the colours
        // stay those of COLR.
        if (isBlock) {
            const size_t surfaceEnd = reader.Limit();
            reader.SetLimit(start + size);
            ReadSurfaceBlock(reader, surface);
            reader.SetLimit(surfaceEnd);
        }
        reader.Seek(start + size);
        SkipPadding(reader);
    }

    const auto tag = std::find_if(m_Tags.rbegin(), m_Tags.rend(), [&name](const STag& t) { return t.name == name; });
    if (tag != m_Tags.rend()) {
        surface.tag = tag->index;
        m_Surfaces.push_back(surface);
    }
    return true;
}

void CLWOMeshLoader::ReadSurfaceBlock(CMeshByteReader& reader, SSurface& surface) const {
    while (reader.Remaining() > 0) {
        const bool isImage = reader.IsIdentifier("IMAG");
        reader.Skip(4);
        const std::uint16_t size = reader.ReadUInt16BE();
        const size_t start = reader.Position();
        if (size > reader.Remaining()) {
            throw CMeshFormatError();
        }
        if (isImage) {
            const std::uint16_t clip = reader.ReadUInt16BE();
            for (const SClip& entry : m_Clips) {
                if (entry.index == clip) {
                    surface.texture = entry.path;
                }
            }
        }
        reader.Seek(start + size);
        SkipPadding(reader);
    }
}

// Texture coordinates per face corner: the vertex gets a copy with these
// coordinates for the one polygon.
bool CLWOMeshLoader::ReadDiscontinuousVertexMap(CMeshByteReader& reader) {
    const std::uint16_t dimension = ReadUvMapHeader(reader);
    if (dimension == 0) {
        return false;
    }
    while (reader.Remaining() > 0) {
        const std::uint16_t vertex = reader.ReadUInt16BE();
        const std::uint16_t polygon = reader.ReadUInt16BE();
        const float u = reader.ReadFloatBE();
        const float v = reader.ReadFloatBE();
        reader.Skip((dimension - 2u) * 4u);
        if (vertex >= m_pMesh->vertices.size() || polygon >= m_FacePositions.size()) {
            throw CMeshFormatError();
        }
        std::uint32_t* corners = m_pMesh->indices.data() + static_cast<size_t>(m_FacePositions[polygon]) * 3;
        if (std::find(corners, corners + 3, vertex) == corners + 3) {
            continue;  // the polygon does not use this vertex (any more)
        }
        const std::uint32_t copy = DuplicateVertex(vertex);
        m_pMesh->vertices[copy].u = u;
        m_pMesh->vertices[copy].v = 1.0f - v;
        std::replace(corners, corners + 3, static_cast<std::uint32_t>(vertex), copy);
    }
    return true;
}

bool CLWOMeshLoader::FacesFitVertices() const {
    const size_t vertexCount = m_pMesh->vertices.size();
    return std::all_of(m_pMesh->indices.begin(), m_pMesh->indices.end(),
                       [vertexCount](std::uint32_t index) { return index < vertexCount; });
}

// One material per tag that faces use, in tag order; each covers the faces of
// its tag. Without polygon tags, one grey material covers every face.
void CLWOMeshLoader::BuildMaterials() {
    std::vector<SMeshMaterial>& materials = m_pMesh->materials;
    materials.clear();
    const std::uint32_t faceCount = m_pMesh->GetNumFaces();
    std::vector<std::uint32_t> materialTags;
    if (m_bHasPolygonTags) {
        for (std::uint32_t face = 0; face < faceCount; ++face) {
            if (materialTags.empty() || m_FaceTags[face] != materialTags.back()) {
                materialTags.push_back(m_FaceTags[face]);
                materials.emplace_back();
            }
            materials.back().endFace = face + 1;
        }
    }
    if (materials.empty()) {
        materialTags.push_back(static_cast<std::uint32_t>(-1));
        materials.emplace_back();
        materials.back().endFace = faceCount;
    }
    for (size_t i = 0; i < materials.size(); ++i) {
        materials[i].material = MakeMeshMaterial(0.5f, 0.5f, 0.5f);
        for (const SSurface& surface : m_Surfaces) {
            if (surface.tag == materialTags[i]) {
                materials[i].material = MakeMeshMaterial(surface.colour.r, surface.colour.g, surface.colour.b);
                materials[i].texture = surface.texture;
            }
        }
    }
}

std::uint32_t CLWOMeshLoader::DuplicateVertex(std::uint32_t vertex) {
    const SMeshVertex copy = m_pMesh->vertices[vertex];
    m_pMesh->vertices.push_back(copy);
    return static_cast<std::uint32_t>(m_pMesh->vertices.size() - 1);
}

// Splits every vertex whose faces do not all lie within the smoothing limit
// of each other: its face corners are grouped by face normal, the first group
// keeps the vertex and every further group gets a copy of its own.
void CLWOMeshLoader::CheckAngles(const SMesh* reference) {
    std::vector<std::uint32_t>& indices = m_pMesh->indices;
    const std::uint32_t vertexCount = m_pMesh->GetNumVertices();
    const std::uint32_t faceCount = m_pMesh->GetNumFaces();
    // The reference's positions are used when it has every vertex this mesh has.
    const std::vector<SMeshVertex>& positions =
        reference != nullptr && reference->vertices.size() >= vertexCount ? reference->vertices : m_pMesh->vertices;

    // Two faces are within the limit when the arc cosine of their normals'
    // dot product (over the first normal's length, as
    // CTools::AngleBetweenVectors has it) is below it: the same as that cosine
    // being above the limit's cosine, which spares an arc cosine per pair.
    // Degenerate faces have NaN normals and join no group.
    std::vector<D3DXVECTOR3> normals(faceCount);
    std::vector<float> lengths(faceCount);
    for (std::uint32_t face = 0; face < faceCount; ++face) {
        normals[face] = CTools::GetFaceNormal(PositionOf(positions[indices[face * 3]]),
                                              PositionOf(positions[indices[face * 3 + 1]]),
                                              PositionOf(positions[indices[face * 3 + 2]]));
        lengths[face] = CTools::VectorLength(normals[face]);
    }
    const float cosineLimit = std::cos(kSmoothingLimit);
    auto smoothBetween = [&](std::uint32_t a, std::uint32_t b) {
        const D3DXVECTOR3& u = normals[a];
        const D3DXVECTOR3& v = normals[b];
        const float cosine = (u.x * v.x + u.y * v.y + u.z * v.z) / lengths[a];
        return std::min(cosine, 1.0f) > cosineLimit;
    };

    // The corners (positions in the index array) of every vertex, in index order.
    std::vector<std::uint32_t> firstCorner(vertexCount + 1, 0);
    for (const std::uint32_t index : indices) {
        ++firstCorner[index + 1];
    }
    std::partial_sum(firstCorner.begin(), firstCorner.end(), firstCorner.begin());
    std::vector<std::uint32_t> corners(indices.size());
    std::vector<std::uint32_t> filled(firstCorner.begin(), firstCorner.end() - 1);
    for (std::uint32_t corner = 0; corner < indices.size(); ++corner) {
        corners[filled[indices[corner]]++] = corner;
    }

    std::vector<std::uint32_t> group;
    std::vector<bool> placed;
    for (std::uint32_t vertex = 0; vertex < vertexCount; ++vertex) {
        const std::uint32_t* own = corners.data() + firstCorner[vertex];
        const std::uint32_t count = firstCorner[vertex + 1] - firstCorner[vertex];
        placed.assign(count, false);
        size_t groups = 0;
        for (std::uint32_t c = 0; c < count && groups < kMaxAngleGroups; ++c) {
            if (placed[c]) {
                continue;
            }
            placed[c] = true;
            group.assign(1, own[c]);
            const std::uint32_t face = own[c] / 3;
            for (std::uint32_t d = 0; d < count; ++d) {
                if (d != c && smoothBetween(face, own[d] / 3)) {
                    group.push_back(own[d]);
                    placed[d] = true;
                }
            }
            if (groups++ > 0) {
                const std::uint32_t copy = DuplicateVertex(vertex);
                for (const std::uint32_t corner : group) {
                    indices[corner] = copy;
                }
            }
        }
    }
}
