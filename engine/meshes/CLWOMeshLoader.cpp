#include "meshes/CLWOMeshLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "core/CTools.h"
#include "meshes/CMeshByteReader.h"
#include "meshes/CPolygonTriangulator.h"

namespace {

const char* const kUnknownError = "unknown error. unable to load the model";
const char* const kNoFormMessage = "File is not LW model (can't find FORM chunk)";
const char* const kNoLwo2Message = "File is not LW 6.x - 7.x  model (can't find LWO2 chunk)";
const char* const kFaceTypeMessage =
    "This loader supports only regular polygons. it does not support Catmull-rom splines, bone, metaballs or "
    "subdivision patches";
const char* const kClipCountMessage =
    "This loader supports only 256 textures... please reduce the number of textures of the model.";
const char* const kClipTypeMessage =
    "This loader supports only still image texture. it does not support animation as texture";
const char* const kColourFirstMessage = "Found another tag then COLR after SURF tag. Loading failed.";

constexpr size_t kHeaderSize = 12;  // "FORM", size, "LWO2"
constexpr std::uint32_t kClipLimit = 257;
constexpr size_t kMaxAngleGroups = 1024;
// The low 10 bits of a polygon's point count are the count; the high 6 are
// flags.
constexpr std::uint16_t kPointCountMask = 0x03FF;

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
    m_Tags.clear();
    m_Clips.clear();
    m_Surfaces.clear();
    m_LayerFirstPoint = 0;
    m_LayerPointCount = 0;
    m_ListFirstPolygon = 0;
    m_Polygons.clear();
    m_PolygonPoints.clear();
    m_CornerUvs.clear();
    m_UvCopies.clear();

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
    } catch (const CMeshFormatError&) {
        DisplayError(kUnknownError);
        return false;
    }
    BuildFaces();
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

std::uint32_t CLWOMeshLoader::ReadIndex(CMeshByteReader& reader) {
    if (reader.Remaining() > 0 && *reader.Current() == 0xFF) {
        return reader.ReadUInt32BE() & 0x00FFFFFFu;
    }
    return reader.ReadUInt16BE();
}

std::uint32_t CLWOMeshLoader::LayerPoint(std::uint32_t point) const {
    if (point >= m_LayerPointCount) {
        throw CMeshFormatError();
    }
    return m_LayerFirstPoint + point;
}

CLWOMeshLoader::SPolygon& CLWOMeshLoader::ListPolygon(std::uint32_t polygon) {
    if (polygon >= m_Polygons.size() - m_ListFirstPolygon) {
        throw CMeshFormatError();
    }
    return m_Polygons[m_ListFirstPolygon + polygon];
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

// A new layer: the point and polygon numbers that follow are its own. All
// layers make one mesh. Points are stored where they are drawn: the layer's
// pivot is only the point it turns about when animated, so nothing of the
// chunk is needed.
bool CLWOMeshLoader::ReadLayer(CMeshByteReader& /*reader*/) {
    m_LayerFirstPoint = static_cast<std::uint32_t>(m_pMesh->vertices.size());
    m_LayerPointCount = 0;
    m_ListFirstPolygon = static_cast<std::uint32_t>(m_Polygons.size());
    return true;
}

bool CLWOMeshLoader::ReadPoints(CMeshByteReader& reader) {
    std::vector<SMeshVertex>& vertices = m_pMesh->vertices;
    m_LayerFirstPoint = static_cast<std::uint32_t>(vertices.size());
    m_LayerPointCount = static_cast<std::uint32_t>(reader.Remaining() / 12);
    vertices.resize(vertices.size() + m_LayerPointCount);
    for (std::uint32_t point = 0; point < m_LayerPointCount; ++point) {
        SMeshVertex& vertex = vertices[m_LayerFirstPoint + point];
        vertex.x = reader.ReadFloatBE();
        vertex.y = reader.ReadFloatBE();
        vertex.z = reader.ReadFloatBE();
    }
    return true;
}

// The head of a texture-coordinate map: type "TXUV", dimension (at least u
// and v) and name. Gives the dimension, or 0 for maps of other kinds
// (weights, colours, morphs, normals), which the engine has no use for.
std::uint16_t CLWOMeshLoader::ReadUvMapHeader(CMeshByteReader& reader) {
    if (!reader.IsIdentifier("TXUV")) {
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
        return true;
    }
    std::vector<SMeshVertex>& vertices = m_pMesh->vertices;
    while (reader.Remaining() > 0) {
        const std::uint32_t vertex = LayerPoint(ReadIndex(reader));
        const float u = reader.ReadFloatBE();
        const float v = reader.ReadFloatBE();
        reader.Skip((dimension - 2u) * 4u);
        vertices[vertex].u = u;
        vertices[vertex].v = 1.0f - v;
    }
    return true;
}

// Faces only: patches, curves, bones and metaballs are refused. Each list
// is numbered from 0 for the polygon tags and corner maps that follow it.
bool CLWOMeshLoader::ReadPolygons(CMeshByteReader& reader) {
    if (!reader.IsIdentifier("FACE")) {
        DisplayError(kFaceTypeMessage);
        return false;
    }
    reader.Skip(4);
    m_ListFirstPolygon = static_cast<std::uint32_t>(m_Polygons.size());
    while (reader.Remaining() > 0) {
        SPolygon polygon;
        polygon.firstPoint = static_cast<std::uint32_t>(m_PolygonPoints.size());
        polygon.pointCount = reader.ReadUInt16BE() & kPointCountMask;
        // Each point takes at least two bytes: a count the chunk cannot hold
        // is found before anything is stored for it.
        if (polygon.pointCount * 2u > reader.Remaining()) {
            throw CMeshFormatError();
        }
        for (std::uint32_t corner = 0; corner < polygon.pointCount; ++corner) {
            m_PolygonPoints.push_back(LayerPoint(ReadIndex(reader)));
        }
        m_Polygons.push_back(polygon);
    }
    return true;
}

// Surface tags by polygon number; polygons left out keep none. Tags of other
// kinds (parts, smoothing groups, colours) shape nothing drawn.
bool CLWOMeshLoader::ReadPolygonTags(CMeshByteReader& reader) {
    if (!reader.IsIdentifier("SURF")) {
        return true;
    }
    reader.Skip(4);
    while (reader.Remaining() > 0) {
        SPolygon& polygon = ListPolygon(ReadIndex(reader));
        polygon.tag = reader.ReadUInt16BE();
    }
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

// Texture coordinates per polygon corner: they take the place of the
// point's own for that one polygon.
bool CLWOMeshLoader::ReadDiscontinuousVertexMap(CMeshByteReader& reader) {
    const std::uint16_t dimension = ReadUvMapHeader(reader);
    if (dimension == 0) {
        return true;
    }
    while (reader.Remaining() > 0) {
        const std::uint32_t vertex = LayerPoint(ReadIndex(reader));
        const std::uint32_t polygon = ReadIndex(reader);
        ListPolygon(polygon);
        SCornerUv uv;
        uv.u = reader.ReadFloatBE();
        uv.v = 1.0f - reader.ReadFloatBE();
        reader.Skip((dimension - 2u) * 4u);
        m_CornerUvs[{m_ListFirstPolygon + polygon, vertex}] = uv;
    }
    return true;
}

// Cuts every polygon into triangles, ordered stably by surface tag, and gives
// each tag its material.
void CLWOMeshLoader::BuildFaces() {
    std::vector<std::uint32_t> order(m_Polygons.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return m_Polygons[a].tag < m_Polygons[b].tag; });
    std::vector<std::uint32_t>& indices = m_pMesh->indices;
    indices.clear();
    std::vector<std::uint32_t> faceTags;
    std::vector<D3DXVECTOR3> positions;
    for (const std::uint32_t number : order) {
        const SPolygon& polygon = m_Polygons[number];
        if (polygon.pointCount < 3) {
            continue;  // a line or a single point: nothing to fill
        }
        const std::uint32_t* points = m_PolygonPoints.data() + polygon.firstPoint;
        positions.clear();
        for (std::uint32_t corner = 0; corner < polygon.pointCount; ++corner) {
            positions.push_back(PositionOf(m_pMesh->vertices[points[corner]]));
        }
        const std::vector<std::uint32_t> corners = CPolygonTriangulator::Triangulate(positions);
        for (const std::uint32_t corner : corners) {
            indices.push_back(CornerVertex(number, points[corner]));
        }
        faceTags.insert(faceTags.end(), corners.size() / 3, polygon.tag);
    }
    BuildMaterials(faceTags);
}

// The vertex a polygon's corner uses: the point's own, or a copy with the
// corner's texture coordinates.
std::uint32_t CLWOMeshLoader::CornerVertex(std::uint32_t polygon, std::uint32_t point) {
    const auto corner = m_CornerUvs.find({polygon, point});
    if (corner == m_CornerUvs.end()) {
        return point;
    }
    std::uint32_t uBits = 0;
    std::uint32_t vBits = 0;
    std::memcpy(&uBits, &corner->second.u, sizeof(uBits));
    std::memcpy(&vBits, &corner->second.v, sizeof(vBits));
    const auto [copy, added] = m_UvCopies.try_emplace({point, uBits, vBits}, 0u);
    if (added) {
        copy->second = DuplicateVertex(point);
        m_pMesh->vertices[copy->second].u = corner->second.u;
        m_pMesh->vertices[copy->second].v = corner->second.v;
    }
    return copy->second;
}

// One material per tag that faces use, in tag order; each covers the faces of
// its tag. Faces without a tag, or whose tag has no surface, are grey.
void CLWOMeshLoader::BuildMaterials(const std::vector<std::uint32_t>& faceTags) {
    std::vector<SMeshMaterial>& materials = m_pMesh->materials;
    materials.clear();
    std::vector<std::uint32_t> materialTags;
    for (std::uint32_t face = 0; face < faceTags.size(); ++face) {
        if (materialTags.empty() || faceTags[face] != materialTags.back()) {
            materialTags.push_back(faceTags[face]);
            materials.emplace_back();
        }
        materials.back().endFace = face + 1;
    }
    if (materials.empty()) {
        materialTags.push_back(kNoTag);
        materials.emplace_back();
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
