#pragma once
// Small 3D Studio and LightWave files for the loader tests and fuzz seeds.

#include <cstdint>
#include <string>
#include <vector>

#include "meshes/common/CChunkWriter.h"

namespace meshfiles {

struct S3DSMaterial {
    std::string name;
    BYTE red = 0, green = 0, blue = 0;
    std::string texture;  // empty: no texture map
};

struct S3DSObject {
    std::string name;
    std::vector<float> positions;      // x, y, z as stored in the file
    std::vector<std::uint16_t> faces;  // three per face
    std::vector<float> texCoords;      // u, v as stored; empty: no chunk
    std::string material;              // empty: no material group
};

inline void Write3DSMaterial(CChunkWriter& w, const S3DSMaterial& m) {
    w.Begin3DS(0xAFFF);
    w.Begin3DS(0xA000).Text(m.name).End();
    w.Begin3DS(0xA020);
    w.Begin3DS(0x0011).Raw({m.red, m.green, m.blue}).End();
    w.Begin3DS(0x0012).Raw({m.red, m.green, m.blue}).End();  // gamma-corrected copy
    w.End();
    if (!m.texture.empty()) {
        w.Begin3DS(0xA200).Begin3DS(0xA300).Text(m.texture).End().End();
    }
    w.End();
}

inline void Write3DSObject(CChunkWriter& w, const S3DSObject& o) {
    w.Begin3DS(0x4000).Text(o.name);
    w.Begin3DS(0x4100);
    w.Begin3DS(0x4110).U16(static_cast<std::uint32_t>(o.positions.size() / 3));
    for (float value : o.positions)
        w.F32(value);
    w.End();
    w.Begin3DS(0x4120).U16(static_cast<std::uint32_t>(o.faces.size() / 3));
    for (size_t i = 0; i < o.faces.size(); i += 3) {
        w.U16(o.faces[i]).U16(o.faces[i + 1]).U16(o.faces[i + 2]).U16(7);
    }
    if (!o.material.empty()) {
        w.Begin3DS(0x4130).Text(o.material).U16(static_cast<std::uint32_t>(o.faces.size() / 3));
        for (size_t i = 0; i < o.faces.size() / 3; ++i)
            w.U16(static_cast<std::uint32_t>(i));
        w.End();
    }
    w.Begin3DS(0x4150);  // smoothing groups: skipped by the loader
    for (size_t i = 0; i < o.faces.size() / 3; ++i)
        w.U32(1);
    w.End();
    w.End();  // face list
    if (!o.texCoords.empty()) {
        w.Begin3DS(0x4140).U16(static_cast<std::uint32_t>(o.texCoords.size() / 2));
        for (float value : o.texCoords)
            w.F32(value);
        w.End();
    }
    w.Begin3DS(0x4160);  // local axes: skipped
    for (int i = 0; i < 12; ++i)
        w.F32(i % 4 == 0 ? 1.0f : 0.0f);
    w.End();
    w.End().End();
}

inline std::vector<BYTE> Make3DS(const std::vector<S3DSMaterial>& materials, const std::vector<S3DSObject>& objects,
                                 std::uint32_t version = 3) {
    CChunkWriter w(CChunkWriter::EOrder::LittleEndian);
    w.Begin3DS(0x4D4D);
    w.Begin3DS(0x0002).U32(version).End();
    w.Begin3DS(0x3D3D);
    w.Begin3DS(0x3D3E).U32(3).End();  // mesh version
    for (const S3DSMaterial& m : materials)
        Write3DSMaterial(w, m);
    for (const S3DSObject& o : objects)
        Write3DSObject(w, o);
    w.End();
    w.Begin3DS(0xB000).U32(0).End();  // keyframer: skipped
    w.End();
    return w.Bytes();
}

// A LightWave object: "FORM", size, "LWO2", then the chunks the body writes.
template <class Body>
std::vector<BYTE> MakeLWO(Body body) {
    CChunkWriter w(CChunkWriter::EOrder::BigEndian);
    w.Id("FORM");
    w.U32(0);
    w.Id("LWO2");
    body(w);
    std::vector<BYTE> bytes = w.Bytes();
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<BYTE>(size >> (24 - 8 * i));
    return bytes;
}

inline void LwoTags(CChunkWriter& w, const std::vector<std::string>& names) {
    w.BeginChunk("TAGS");
    for (const std::string& name : names)
        w.Text(name);
    w.End();
}

inline void LwoLayer(CChunkWriter& w) {
    w.BeginChunk("LAYR").U16(0).U16(0).F32(0).F32(0).F32(0).Text("").End();
}

inline void LwoPoints(CChunkWriter& w, const std::vector<float>& xyz) {
    w.BeginChunk("PNTS");
    for (float value : xyz)
        w.F32(value);
    w.End();
}

// Polygons of any size (a list of point indices each).
inline void LwoPolygons(CChunkWriter& w, const std::vector<std::vector<std::uint16_t>>& polygons,
                        const char* type = "FACE") {
    w.BeginChunk("POLS").Id(type);
    for (const auto& polygon : polygons) {
        w.U16(static_cast<std::uint32_t>(polygon.size()));
        for (std::uint16_t index : polygon)
            w.U16(index);
    }
    w.End();
}

inline void LwoPolygonTags(CChunkWriter& w, const std::vector<std::uint16_t>& tags, const char* type = "SURF") {
    w.BeginChunk("PTAG").Id(type);
    for (size_t i = 0; i < tags.size(); ++i)
        w.U16(static_cast<std::uint32_t>(i)).U16(tags[i]);
    w.End();
}

inline void LwoClip(CChunkWriter& w, std::uint32_t index, const std::string& file, const char* type = "STIL") {
    w.BeginChunk("CLIP").U32(index).BeginSub(type).Text(file).End().End();
}

// A surface with its colour and, when clip is not negative, an image block.
inline void LwoSurface(CChunkWriter& w, const std::string& name, float red, float green, float blue, int clip = -1) {
    w.BeginChunk("SURF").Text(name).Text("");
    w.BeginSub("COLR").F32(red).F32(green).F32(blue).U16(0).End();
    w.BeginSub("DIFF").F32(1.0f).U16(0).End();
    if (clip >= 0) {
        w.BeginSub("BLOK");
        w.BeginSub("IMAP").Text("\x80");
        w.BeginSub("CHAN").Id("COLR").End();
        w.End();
        w.BeginSub("PROJ").U16(5).End();
        w.BeginSub("IMAG").U16(static_cast<std::uint32_t>(clip)).End();
        w.End();
    }
    w.End();
}

// Texture coordinates per point: (point, u, v) entries.
struct SLwoUv {
    std::uint16_t point;
    float u, v;
};

inline void LwoUvMap(CChunkWriter& w, const std::vector<SLwoUv>& entries, const char* type = "TXUV") {
    w.BeginChunk("VMAP").Id(type).U16(2).Text("UVMap");
    for (const SLwoUv& e : entries)
        w.U16(e.point).F32(e.u).F32(e.v);
    w.End();
}

// Texture coordinates per polygon corner: (point, polygon, u, v) entries.
struct SLwoCornerUv {
    std::uint16_t point;
    std::uint16_t polygon;
    float u, v;
};

inline void LwoCornerUvMap(CChunkWriter& w, const std::vector<SLwoCornerUv>& entries) {
    w.BeginChunk("VMAD").Id("TXUV").U16(2).Text("UVMap");
    for (const SLwoCornerUv& e : entries)
        w.U16(e.point).U16(e.polygon).F32(e.u).F32(e.v);
    w.End();
}

// The eight corners of a unit cube and its twelve triangles (two per side,
// outward-facing).
inline std::vector<float> CubePoints() {
    return {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1};
}

inline std::vector<std::vector<std::uint16_t>> CubeTriangles() {
    return {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
            {3, 6, 2}, {3, 7, 6}, {0, 4, 7}, {0, 7, 3}, {1, 2, 6}, {1, 6, 5}};
}

}  // namespace meshfiles
